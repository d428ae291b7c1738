#pragma once

#include "output/output_files.h"

#include <cstdint>

namespace korvo {

// The code image as the writers see it: CodeSize words of the job's core,
// address 0 first. A word the job does not carry reads as 0, so no writer
// ever reads outside the job's data.
class TCodeWords {
public:
    explicit TCodeWords(const TOutputJob& job)
        : job_(job),
          size_(job.CodeSize > 0 ? job.CodeSize : CoreDescription(job.CoreKind).CodeSize) {}

    int Size() const { return size_; }
    // Words wider than 16 bits: the class of the 18-bit cores.
    bool EighteenBitClass() const { return Core().WordBits > 16; }
    const TCoreDescription& Core() const { return CoreDescription(job_.CoreKind); }
    std::uint32_t operator[](int address) const {
        auto index = static_cast<std::size_t>(address);
        return address >= 0 && address < size_ && index < job_.Words.size() ? job_.Words[index] : 0;
    }

private:
    const TOutputJob& job_;
    int size_;
};

} // namespace korvo
