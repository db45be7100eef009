#pragma once
// The engine library, loaded by file name for one run and unloaded after it, so every run starts the
// engine from its initial state.

#include <QLibrary>
#include <QString>
#include <stdexcept>
#include <string>

namespace app::session {

/// Every failure of loading the engine.
class EDLLError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
/// The file exists but the system could not load it (not a library, missing symbols, wrong machine).
class EInitError : public EDLLError {
public:
    EInitError() : EDLLError("Library failed to properly initialize") {}
};
class EFileNotFoundError : public EDLLError {
public:
    EFileNotFoundError() : EDLLError("Library could not be located") {}
};
class EDLLNotOpenError : public EDLLError {
public:
    EDLLNotOpenError() : EDLLError("Library is not open") {}
};

class TDynamicLibrary {
public:
    TDynamicLibrary() = default;
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;
    ~TDynamicLibrary() { Unload(); }

    /// Unloads a loaded library first, then records the name.
    void SetLibraryName(const QString& name);
    /// No-op when loaded. Throws EFileNotFoundError or EInitError; all symbols are bound at load, so a
    /// library that cannot be completed fails here and not in the middle of a run.
    void Load();
    /// The address of export `name`, or nullptr when the library has none. Throws EDLLNotOpenError when
    /// nothing is loaded.
    [[nodiscard]] QFunctionPointer EntryPoint(const char* name);
    [[nodiscard]] bool IsLoaded() const { return m_library.isLoaded(); }
    void Unload();
    /// The system's reason for the last failure of Load.
    [[nodiscard]] QString LastError() const { return m_library.errorString(); }

private:
    QLibrary m_library;
};

}  // namespace app::session
