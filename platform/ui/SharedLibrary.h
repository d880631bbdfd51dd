#pragma once
// Loading a shared library by file name and looking up its entry points. A loaded library is
// never unloaded: the program relies on its code staying mapped until the process ends.

#include <QString>
#include <utility>

namespace platform {

class SharedLibrary {
public:
    SharedLibrary() = default; // not loaded
    // Loads the file at `path`; a bare file name goes through the system's library search
    // path. An object that is not loaded when that fails.
    static SharedLibrary LoadFile(const QString& path);

    bool isLoaded() const { return m_handle != nullptr; }
    // The address of the exported `name`, or nullptr when the library lacks it.
    void* symbol(const char* name) const;
    QString errorString() const { return m_error; }

private:
    SharedLibrary(void* handle, QString error) : m_handle(handle), m_error(std::move(error)) {}
    void* m_handle = nullptr;
    QString m_error;
};

// The file name of a library called `base` on this platform: libbase.so, libbase.dylib, BASE.DLL.
QString PlatformLibraryFileName(const QString& base);

} // namespace platform
