#pragma once

#include <QMainWindow>

namespace korvo {

// The main window of the IDE.
class TfrmWorkbookMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmWorkbookMain(QWidget* parent = nullptr);
};

} // namespace korvo
