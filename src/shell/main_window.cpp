#include "shell/main_window.h"

#include "korvo_version.h"

namespace korvo {

TfrmWorkbookMain::TfrmWorkbookMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(kApplicationTitle);
    resize(600, 400);
}

} // namespace korvo
