#include "FileError.h"

#include <string>

namespace {

class CFileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "tarnwick"; }
    std::string message(int value) const override {
        switch (static_cast<FileError>(value)) {
        case FileError::TooLarge:
            return "larger than the memory available";
        case FileError::NotRegularFile:
            return "not a regular file";
        }
        return "unknown error";
    }
};

} // namespace

const std::error_category& FileErrorCategory() {
    static const CFileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileError error) {
    return {static_cast<int>(error), FileErrorCategory()};
}
