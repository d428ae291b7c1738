#pragma once

#include <QDialog>

class QTextBrowser;

namespace korvo {

// The About box: the program's picture, its version and the no-warranty note.
class TdlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit TdlgAbout(QWidget* parent = nullptr);
    QString Text() const;

private:
    QTextBrowser* text_ = nullptr;
};

} // namespace korvo
