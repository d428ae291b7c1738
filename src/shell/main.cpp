#include "shell/main_window.h"

#include "korvo_version.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(korvo::kApplicationTitle);
    QApplication::setApplicationVersion(korvo::kProductVersion);
    korvo::TfrmWorkbookMain window;
    window.show();
    return application.exec();
}
