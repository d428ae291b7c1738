#include "shell/document/untitled_numbers.h"

namespace korvo {

int TUntitledNumbers::Take() {
    for (std::size_t word = 0;; ++word) {
        if (word == words_.size()) words_.push_back(0);
        if (words_[word] == 0xFFFFFFFFu) continue;
        for (int bit = 0; bit < 32; ++bit) {
            if (!(words_[word] & (1u << bit))) {
                words_[word] |= 1u << bit;
                return static_cast<int>(word * 32 + bit) + 1;
            }
        }
    }
}

void TUntitledNumbers::Release(int number) {
    if (number < 1) return;
    std::size_t index = static_cast<std::size_t>(number - 1);
    if (index / 32 < words_.size()) words_[index / 32] &= ~(1u << (index % 32));
}

} // namespace korvo
