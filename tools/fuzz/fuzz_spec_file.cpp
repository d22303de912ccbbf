// libFuzzer target: any bytes as a specification file must load or fail with
// a clear error, never crash. Build and run with tools/fuzz/run.sh.
#include <cstdio>
#include <string>
#include <unistd.h>

#include "common/errors.h"
#include "refrig/refrig_lib.h"
#include "spec/spec_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static velmora::TRefrigLib lib("");
    char name[] = "/tmp/fuzz-vmi-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return 0;
    if (write(fd, data, size) != static_cast<ssize_t>(size)) {}
    close(fd);
    velmora::TSpecification spec;
    spec.NewSpecification(lib);
    try {
        velmora::ReadSpecFile(spec, lib, name);
        velmora::ReadSpecFileExtras(name);
        velmora::WriteSpecFile(spec, lib, name);
    } catch (const velmora::VelmoraError&) {
    }
    unlink(name);
    return 0;
}
