#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvo {

// What a log line reports. Each kind's line begins as the user has always
// read it; the front ends colour a line and set a command's exit status by
// its kind, never by its text.
enum class TLogSeverity {
    Plain,       // what was done ("Assembler Phase 1: ...")
    Progress,    // "!" a step of a run
    Error,       // "?" a run stopped, or an included file's line failed
    SourceError, // "Line N: " an error at a line of the source
    Warning,     // "warning:" (also after "Line N: ") a finding of the checker
    Note,        // "note:" (also after "Line N: ") a finding's context
    Failure,     // "Failure: " a file, setting or command could not be used
};

inline constexpr std::string_view kFailurePrefix = "Failure: ";

// The kind of a line that comes as text alone, read from its beginning in
// any letter case.
TLogSeverity LogSeverityOf(std::string_view text);

// The log pane as the core sees it.
class ILog {
public:
    virtual ~ILog() = default;
    virtual void AddLine(TLogSeverity severity, const std::string& text) = 0;
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}

    // A line whose text tells its kind (see LogSeverityOf).
    void AddLogLine(const std::string& text) { AddLine(LogSeverityOf(text), text); }
    void Message(const std::string& text) { AddLine(TLogSeverity::Plain, text); }
    void Progress(const std::string& text) { AddLine(TLogSeverity::Progress, "!" + text); }
    void Failure(const std::string& message) {
        AddLine(TLogSeverity::Failure, std::string(kFailurePrefix) + message);
    }
};

// Brackets a run of log lines; ends the update on every way out.
class TLogUpdateGuard {
public:
    explicit TLogUpdateGuard(ILog& log) : log_(log) { log_.BeginUpdate(); }
    ~TLogUpdateGuard() { log_.EndUpdate(); }
    TLogUpdateGuard(const TLogUpdateGuard&) = delete;
    TLogUpdateGuard& operator=(const TLogUpdateGuard&) = delete;

private:
    ILog& log_;
};

// Collects the lines in memory; used by tests and by front ends that print
// the lines afterwards.
class TStringListLog : public ILog {
public:
    void AddLine(TLogSeverity severity, const std::string& text) override {
        Lines.push_back(text);
        Severities.push_back(severity);
    }
    void BeginUpdate() override { ++UpdateDepth; }
    void EndUpdate() override { --UpdateDepth; }
    std::vector<std::string> Lines;
    std::vector<TLogSeverity> Severities;
    int UpdateDepth = 0;
};

// Discards everything.
class TNullLog : public ILog {
public:
    void AddLine(TLogSeverity, const std::string&) override {}
};

} // namespace korvo
