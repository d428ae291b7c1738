#include "shell/app/help_window.h"

#include "platform/data_folders.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>

namespace korvo {

namespace {
QPointer<QTextBrowser> manualWindow;

QTextBrowser* CreateManualWindow() {
    auto* browser = new QTextBrowser;
    browser->setObjectName(QStringLiteral("ManualBrowser"));
    browser->setAttribute(Qt::WA_DeleteOnClose);
    browser->setWindowTitle(QStringLiteral("Korvo IDE manual"));
    browser->setOpenExternalLinks(true);
    QSize size(browser->fontMetrics().averageCharWidth() * 90,
               browser->fontMetrics().height() * 40);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    browser->resize(size);
    QString file = ManualFile(QCoreApplication::applicationDirPath());
    if (file.isEmpty())
        browser->setHtml(QStringLiteral("<p>The manual (korvo-ide.html) is not installed.</p>"));
    else
        browser->setSource(QUrl::fromLocalFile(file));
    return browser;
}
} // namespace

void ShowManual(const QString& section) {
    if (!manualWindow) manualWindow = CreateManualWindow();
    if (QUrl url = manualWindow->source(); !url.isEmpty()) {
        url.setFragment(section.isEmpty() ? QString() : section);
        manualWindow->setSource(url);
        if (section.isEmpty()) manualWindow->verticalScrollBar()->setValue(0);
    }
    manualWindow->show();
    manualWindow->raise();
    manualWindow->activateWindow();
}

QTextBrowser* ManualBrowser() {
    return manualWindow;
}

} // namespace korvo
