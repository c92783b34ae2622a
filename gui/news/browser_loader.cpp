#include "gui/news/browser_loader.h"

#include "gui/news/text_browser_view.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>
#include <unistd.h>

namespace brevio {

namespace {

#ifdef BREVIO_WEBENGINE
using CreateWebView = BrowserView* (*)(QWidget*, const BrowserSetup&);

// Chromium will not start as root with its sandbox on. Only this process is concerned: the
// variable is set for it and the engine processes it starts, and ordinary users keep theirs.
void allowRootWithoutSandbox()
{
    if (geteuid() != 0 || qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        return;
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    std::fputs("brevio: running as root, so the web engine's sandbox is turned off for this process\n",
               stderr);
}

// The engine draws in software but probes OpenGL once as it starts; the drivers would keep
// shader caches of that probe in the user's cache folder, outside the program's own.
void keepDriverCachesOff()
{
    if (!qEnvironmentVariableIsSet("MESA_SHADER_CACHE_DISABLE"))
        qputenv("MESA_SHADER_CACHE_DISABLE", "true");
    if (!qEnvironmentVariableIsSet("__GL_SHADER_DISK_CACHE"))
        qputenv("__GL_SHADER_DISK_CACHE", "0");
}

// The engine's start-up notices (it was loaded late, on purpose; the sandbox line above
// already said what matters) would only worry the user; anything else passes.
QtMessageHandler g_previousHandler = nullptr;

void quietStartHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const char* const notices[] = {
        "Qt WebEngine seems to be initialized from a plugin",
        "QtWebEngineQuick::initialize() called with QCoreApplication object already created",
        "Attribute Qt::AA_ShareOpenGLContexts must be set before QCoreApplication is created",
        "Sandboxing disabled by user.",
        "No suitable graphics backend found", // pages are drawn in software, on purpose
    };
    const bool contextDump = context.category && qstrcmp(context.category, "qt.webenginecontext") == 0;
    for (const char* notice : notices)
        if (message.startsWith(QLatin1String(notice)))
            return;
    if (!contextDump)
        g_previousHandler(type, context, message);
}

// The module next to the program (a build folder), else where the package installs it, else
// where this build put it; then the environment the engine wants.
QString webModulePath()
{
    const QString programDir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString name = QStringLiteral(BREVIO_WEB_MODULE_NAME);
    for (const QString& candidate :
         {programDir + name, programDir + QStringLiteral(BREVIO_WEB_MODULE_INSTALLED "/") + name})
        if (QFileInfo::exists(candidate))
            return candidate;
    return QStringLiteral(BREVIO_WEB_MODULE_PATH);
}

CreateWebView loadWebModule()
{
    static QLibrary module(webModulePath());
    auto create = reinterpret_cast<CreateWebView>(module.resolve("brevioCreateWebView"));
    if (!create) {
        std::fprintf(stderr, "brevio: the web engine could not be loaded (%s); pages are shown as text\n",
                     qPrintable(module.errorString()));
        return nullptr;
    }
    // Read when the engine starts, which is when the first view is made.
    allowRootWithoutSandbox();
    keepDriverCachesOff();
    return create;
}
#endif

} // namespace

std::unique_ptr<BrowserView> createBrowserView(QWidget* parent, BrowserSetup setup)
{
#ifdef BREVIO_WEBENGINE
    g_previousHandler = qInstallMessageHandler(quietStartHandler);
    static const CreateWebView create = loadWebModule();
    BrowserView* view = create ? create(parent, setup) : nullptr;
    qInstallMessageHandler(g_previousHandler);
    if (view)
        return std::unique_ptr<BrowserView>(view);
#endif
    return std::make_unique<TextBrowserView>(parent, setup.openLink);
}

} // namespace brevio
