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
#include <algorithm>
#include <exception>
#include <vector>
#include <unistd.h>

#include "base/Cp1251.h"
#include "base/GlobalPaths.h"
#include "base/WinPath.h"
#include "html/engine/PageContent.h"
#include "html/engine/PageUrl.h"
#include "packs/ComprStream.h"
#include "platform/Diagnostics.h"

namespace {

struct RAdmitted {
    std::string listingRoot;
    std::vector<std::string> foreign;  // files, and folders ending with "\"
};

RAdmitted& Admitted() {
    static RAdmitted admitted;
    return admitted;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return !prefix.empty() && text.size() >= prefix.size() && Cp1251::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// A listing's own page lies right in its "as_" folder below the root and is called "as_….htm".
bool ListingPage(const std::string& below) {
    const size_t cut = below.find('\\');
    if (cut == std::string::npos) return false;
    const std::string folder = Cp1251::asciiLower(below.substr(0, cut)), name = Cp1251::asciiLower(below.substr(cut + 1));
    return folder.starts_with("as_") && name.starts_with("as_") && name.find('\\') == std::string::npos &&
           WinPath::Extension(name) == ".htm";
}

// A foreign page may not run scripts: the rule goes first into the document, after its doctype.
QByteArray WithoutScripts(const QByteArray& html) {
    static const QByteArray kRule = "<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'none'; object-src 'none'\">";
    qsizetype at = 0;
    const QByteArray head = html.left(512).toLower();
    const qsizetype doctype = head.indexOf("<!doctype");
    if (doctype >= 0 && head.left(doctype).trimmed().isEmpty()) at = html.indexOf('>', doctype) + 1;
    QByteArray out = html;
    out.insert(at, kRule);
    return out;
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
        const TPageTrust trust = path.empty() ? TPageTrust::Refused : PageTrust(path);
        if (trust == TPageTrust::Refused) {
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
        std::string type = PageContentType(path, std::string_view(bytes.constData(), size_t(bytes.size())));
        if (trust == TPageTrust::Foreign && type.starts_with("text/html")) bytes = WithoutScripts(bytes);
        if (trust == TPageTrust::Foreign && type == "image/svg+xml") type = "text/plain";  // a picture that may script
        auto* buffer = new QBuffer(job);
        buffer->setData(bytes);
        job->reply(QByteArray::fromStdString(type), buffer);
    }
};

QWebEngineProfile* profile = nullptr;

} // namespace

TPageTrust PageTrust(const std::string& winPath) {
    const std::string path = FullPagePath(winPath);
    const RAdmitted& admitted = Admitted();
    if (StartsWithNoCase(path, admitted.listingRoot) && path.size() > admitted.listingRoot.size())
        return ListingPage(path.substr(admitted.listingRoot.size())) ? TPageTrust::Listing : TPageTrust::Foreign;
    for (const std::string& foreign : admitted.foreign)
        if (foreign.back() == '\\' ? StartsWithNoCase(path, foreign) : Cp1251::equalsNoCase(path, foreign))
            return TPageTrust::Foreign;
    // The book's disc is the one drive that is neither the per-user c: nor the host's z:.
    const char drive = path.empty() ? 0 : path[0];
    return drive != 0 && drive != 'c' && drive != 'z' ? TPageTrust::Book : TPageTrust::Refused;
}

void SetListingRoot(const std::string& winFolder) {
    Admitted().listingRoot = winFolder.empty() ? std::string() : WinPath::WithBackslash(FullPagePath(winFolder));
}

void AdmitForeign(const std::string& winPath) {
    const bool folder = !winPath.empty() && (winPath.back() == '\\' || winPath.back() == '/');
    std::string full = FullPagePath(winPath);
    if (full.empty()) return;
    if (folder) full = WinPath::WithBackslash(full);
    auto& foreign = Admitted().foreign;
    if (std::find_if(foreign.begin(), foreign.end(), [&](const std::string& f) { return Cp1251::equalsNoCase(f, full); }) == foreign.end())
        foreign.push_back(full);
}

void PreparePageEngine(bool verbose) {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The browser's processes write their errors straight to the terminal: only fatal ones, or
    // everything with --verbose.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += verbose ? " --enable-logging=stderr --log-level=0" : " --log-level=3";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (QWebEngineUrlScheme::schemeByName(kPageScheme).name().isEmpty()) {
        QWebEngineUrlScheme scheme(kPageScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        scheme.setDefaultPort(QWebEngineUrlScheme::PortUnspecified);
        // A foreign page's rule against scripts must hold for scripts of this scheme too.
        scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                        QWebEngineUrlScheme::LocalAccessAllowed | QWebEngineUrlScheme::CorsEnabled);
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
