#include "output/output_files.h"

namespace korvo {

void WriteOutputFiles(const TOutputJob& job, const TOutputEnvironment& environment) {
    // The writers are added one by one; until then a job writes nothing.
    (void)job;
    (void)environment;
}

} // namespace korvo
