#pragma once

#include <map>
#include <string>
#include <vector>

namespace korvo {

// What a program tells the checker in comments of its own lines:
//   JUMP (s1, s0)   ;@targets first, table+2  where a computed JUMP or CALL
//                                              goes: labels, or a label and
//                                              an offset
//   JUMP NZ, loop   ;@loop 10                  this branch back runs the loop
//                                              at most 10 times
// The marker ";@" opens the comment; the words after it are case-insensitive.
struct TCheckAnnotation {
    std::vector<std::string> Targets; // "label" or "label+N", as written
    long long LoopBound = -1;         // -1: none given
};

struct TAnnotationError {
    int Line;
    std::string Message;
};

// The annotations by source line (from 1); lines without one are absent.
// A malformed annotation goes to errors and is skipped.
std::map<int, TCheckAnnotation> ReadCheckAnnotations(const std::vector<std::string>& lines,
                                                     std::vector<TAnnotationError>& errors);

} // namespace korvo
