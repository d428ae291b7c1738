#pragma once

#include "cli/diagnostic_text.h"
#include "common/log.h"

#include <ostream>
#include <string>

namespace korvo::cli {

// The failures of a run that the log only shows (an output file, a block
// RAM init file, the SVF settings, the EXEC command, a log or stimulus
// file): each also goes to standard error as "FILE: error: MESSAGE", and
// the command's exit status tells that one happened.
class TFailureReport {
public:
    TFailureReport(std::ostream& err, std::string fileName)
        : err_(err), fileName_(std::move(fileName)) {}
    void Report(const std::string& message) { ReportAt(fileName_, message); }
    // A failure about a place of its own ("FILE:LINE").
    void ReportAt(const std::string& place, const std::string& message) {
        err_ << place << ": error: " << message << "\n";
        any_ = true;
    }
    bool Any() const { return any_; }

private:
    std::ostream& err_;
    std::string fileName_;
    bool any_ = false;
};

// The log pane of a command: every line as the pane would receive it (the
// errors of included files without the parser's kind word), one per output
// line. Failures also go to the failure report.
class TStreamLog : public ILog {
public:
    explicit TStreamLog(std::ostream& out, TFailureReport* failures = nullptr)
        : out_(out), failures_(failures) {}
    void AddLine(TLogSeverity severity, const std::string& text) override {
        out_ << CommandLogLine(text) << '\n';
        if (failures_ && severity == TLogSeverity::Failure)
            failures_->Report(text.substr(std::min(text.size(), kFailurePrefix.size())));
    }
    void EndUpdate() override { out_.flush(); }

private:
    std::ostream& out_;
    TFailureReport* failures_;
};

} // namespace korvo::cli
