// The engine's exception types. Thrown by value, caught by reference: a handler of Error also catches
// FileError and FatalError. They do not derive from std::exception on purpose: the application's top level
// tells the engine's own failures from everything else by type.
#pragma once

#include <string>

namespace OrvexEngine {

class Error {
public:
    explicit Error(const std::string& text) : text(text) {}
    Error(const Error&) = default;
    Error& operator=(const Error&) = default;
    virtual ~Error() = default;

    const std::string& GetText() const { return text; }

private:
    std::string text;
};

// A file that cannot be opened, read or written, or whose content is malformed.
class FileError : public Error {
public:
    explicit FileError(const std::string& text) : Error(text) {}
    ~FileError() override = default;
};

// A state the program cannot continue from.
class FatalError : public Error {
public:
    explicit FatalError(const std::string& text) : Error(text) {}
    ~FatalError() override = default;
};

} // namespace OrvexEngine
