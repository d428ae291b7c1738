#pragma once

#include "common/log.h"

#include <ostream>

namespace korvo::cli {

// The log pane of a command: every line as the pane would receive it, one
// per output line.
class TStreamLog : public ILog {
public:
    explicit TStreamLog(std::ostream& out) : out_(out) {}
    void AddLogLine(const std::string& text) override { out_ << text << '\n'; }
    void EndUpdate() override { out_.flush(); }

private:
    std::ostream& out_;
};

} // namespace korvo::cli
