#pragma once
// Specification files (*.vmi): INI text, one specification per file.
#include <optional>
#include <string>

#include "spec/specification.h"

namespace velmora {

class TRefrigLib;

// Writes every entry in the order of the file format. Sections and entries
// this program does not know survive a save over an existing file. The new
// content goes to a temporary file next to the target that is then renamed
// over it, so a failed save leaves the previous file as it was. Throws
// FileError "Unable to write to <path>".
void WriteSpecFile(const TSpecification& spec, const TRefrigLib& lib, const std::string& path);

// Reads the inputs of a specification file into spec, selects its refrigerant
// and recalculates. Missing entries take their defaults; a missing file reads
// as all entries missing. Every entry is read and converted before spec
// changes: a bad air-state entry throws FileError naming the file and the
// entry, and spec stays as it was.
void ReadSpecFile(TSpecification& spec, TRefrigLib& lib, const std::string& path);

// Values a file holds that loading a specification does not take (the window
// keeps its coolant and water outlet temperature), for tools that rebuild the
// whole file: the coolant named by "Coil Type" and Two from "DT".
struct SpecFileExtras {
    std::optional<uint8_t> coolant;
    std::optional<double> dt;
};
SpecFileExtras ReadSpecFileExtras(const std::string& path);

}  // namespace velmora
