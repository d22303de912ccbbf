// libFuzzer target: any bytes as a refrigerant data file.
#include <cstdio>
#include <unistd.h>

#include "common/errors.h"
#include "refrig/refrig_lib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char name[] = "/tmp/fuzz-rdf-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return 0;
    if (write(fd, data, size) != static_cast<ssize_t>(size)) {}
    close(fd);
    try {
        velmora::TRefrigLib lib(name);
        for (const auto& n : lib.RefrigNames()) {
            try {
                lib.Select(n);
                lib.SatPressure(0);
                lib.DewTemp(500000);
                lib.LatentHeat(0);
                lib.VapVolume(0);
                lib.SuperheatEnthalpy(0, 10);
            } catch (const velmora::VelmoraError&) {
            }
        }
    } catch (const velmora::VelmoraError&) {
    }
    unlink(name);
    return 0;
}
