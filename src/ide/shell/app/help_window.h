#pragma once

#include <QString>

class QTextBrowser;

namespace korvo {

// The user manual in a window of its own, one for the program. section is
// an anchor of the manual ("settings-misc"); empty shows it from the top.
// The manual is the HTML file installed with the program (or the one of the
// source tree the program was built from).
void ShowManual(const QString& section = {});

// The browser of the manual's window, or none while it was never opened.
QTextBrowser* ManualBrowser();

} // namespace korvo
