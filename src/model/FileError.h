#pragma once

#include <system_error>

// Why a file could not be read or written where the system has no error number for it. The
// system's own reasons travel as errno values in std::generic_category().
enum class FileError {
    TooLarge = 1,   // "larger than the memory available"
    NotRegularFile, // "not a regular file": a device, a FIFO, a socket
};

// The category of FileError values; its messages are the reasons shown to the user.
const std::error_category& FileErrorCategory();

std::error_code make_error_code(FileError error);

// The system's error number errnoValue as an error code.
inline std::error_code SystemError(int errnoValue) {
    return {errnoValue, std::generic_category()};
}

namespace std {
template <> struct is_error_code_enum<FileError> : true_type {};
} // namespace std
