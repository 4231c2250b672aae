#include "html/engine/PageScheme.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <exception>
#include <unistd.h>

#include "html/engine/PageContent.h"
#include "html/engine/PageUrl.h"
#include "packs/ComprStream.h"

namespace {

class TPageSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const std::string path = PagePath(job->requestUrl());
        if (path.empty()) {
            job->fail(QWebEngineUrlRequestJob::UrlInvalid);
            return;
        }
        QByteArray bytes;
        try {
            TComprStream stream(path);
            bytes = QByteArray(stream.View().data(), qsizetype(stream.View().size()));
        } catch (const std::exception&) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        const std::string type = PageContentType(path, std::string_view(bytes.constData(), size_t(bytes.size())));
        auto* buffer = new QBuffer(job);
        buffer->setData(bytes);
        job->reply(QByteArray::fromStdString(type), buffer);
    }
};

QWebEngineProfile* profile = nullptr;

} // namespace

void PreparePageEngine() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (QWebEngineUrlScheme::schemeByName(kPageScheme).name().isEmpty()) {
        QWebEngineUrlScheme scheme(kPageScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        scheme.setDefaultPort(QWebEngineUrlScheme::PortUnspecified);
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                        QWebEngineUrlScheme::LocalAccessAllowed | QWebEngineUrlScheme::ContentSecurityPolicyIgnored |
                        QWebEngineUrlScheme::CorsEnabled);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
}

QWebEngineProfile* PageProfile() {
    if (profile) return profile;
    profile = new QWebEngineProfile(QCoreApplication::instance());
    profile->setHttpCacheType(QWebEngineProfile::NoCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile->setSpellCheckEnabled(false);
    profile->installUrlSchemeHandler(kPageScheme, new TPageSchemeHandler(profile));
    // A link to a file the browser cannot show never turns into a download.
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                     [](QWebEngineDownloadRequest* request) { request->cancel(); });
    QObject::connect(profile, &QObject::destroyed, [] { profile = nullptr; });
    return profile;
}
