#include "output/save_output.h"

#include "common/text_file.h"

#include <exception>

namespace korvo {

void SaveOutputText(const std::string& path, std::string_view text, ILog& log) {
    try {
        WriteFileBytes(path, text);
    } catch (const std::exception& failure) {
        log.Failure(failure.what());
    }
}

} // namespace korvo
