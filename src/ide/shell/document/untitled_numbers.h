#pragma once

#include <cstdint>
#include <vector>

namespace korvo {

// The numbers of untitled documents (Untitled1, Untitled2...): a growable bit
// set where the lowest free number is taken first.
class TUntitledNumbers {
public:
    // The lowest free number, from 1 up, now taken.
    int Take();
    // Frees a number; numbers never taken are ignored.
    void Release(int number);

private:
    std::vector<std::uint32_t> words_;
};

} // namespace korvo
