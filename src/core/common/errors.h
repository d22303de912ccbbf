#pragma once
// Typed errors of the core. Every message is meant for the user as it stands.
#include <stdexcept>
#include <string>

namespace velmora {

class VelmoraError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text that is not a number (or not a pair of numbers).
class ConversionError : public VelmoraError {
public:
    using VelmoraError::VelmoraError;
};

// A calculation that would divide by zero, overflow or produce no result.
class CalcError : public VelmoraError {
public:
    using VelmoraError::VelmoraError;
};

// A file that cannot be read or written, or whose content does not convert.
class FileError : public VelmoraError {
public:
    using VelmoraError::VelmoraError;
};

}  // namespace velmora
