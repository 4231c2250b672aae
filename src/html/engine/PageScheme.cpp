#include "html/engine/PageScheme.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <exception>
#include <unistd.h>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "html/engine/PageContent.h"
#include "html/engine/PageUrl.h"
#include "packs/ComprStream.h"
#include "platform/Diagnostics.h"

namespace {

// The host's own files (drive z:) are served only from the temporary folder, where archive
// listings live: a page on a disc has no business reading the rest of the computer.
bool Servable(const std::string& path) {
    if (path.size() < 2 || (path[0] | 0x20) != 'z') return true;
    const std::string& temp = StartState().tempDir;
    return !temp.empty() && Cp1251::equalsNoCase(path.substr(0, temp.size()), temp);
}

// Pages are an offline book: they never fetch anything from the network. Links to the web go
// to the desktop's browser through the link protocol, not through here.
class TOfflineInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        if (scheme != QLatin1String(kPageScheme) && scheme != QLatin1String("data") && scheme != QLatin1String("blob") &&
            scheme != QLatin1String("about")) {
            qCInfo(lcEngine).noquote() << "a page asked for the network, refused:" << info.requestUrl().toString();
            info.block(true);
        }
    }
};

class TPageSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const std::string path = PagePath(job->requestUrl());
        if (path.empty() || !Servable(path)) {
            qCInfo(lcEngine).noquote() << "a page asked for a file outside the book, refused:" << job->requestUrl().toString();
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
    profile->setUrlRequestInterceptor(new TOfflineInterceptor(profile));
    // A link to a file the browser cannot show never turns into a download.
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                     [](QWebEngineDownloadRequest* request) { request->cancel(); });
    QObject::connect(profile, &QObject::destroyed, [] { profile = nullptr; });
    return profile;
}
