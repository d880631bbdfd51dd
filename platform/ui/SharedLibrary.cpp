#include "platform/ui/SharedLibrary.h"

#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace platform {

SharedLibrary SharedLibrary::LoadFile(const QString& path) {
#ifdef _WIN32
    void* handle = reinterpret_cast<void*>(LoadLibraryW(reinterpret_cast<LPCWSTR>(path.utf16())));
    return SharedLibrary(handle, handle ? QString() : QStringLiteral("cannot load %1").arg(path));
#else
    const QByteArray native = QFile::encodeName(path);
    void* handle = dlopen(native.constData(), RTLD_NOW | RTLD_LOCAL);
    return SharedLibrary(handle, handle ? QString() : QString::fromLocal8Bit(dlerror()));
#endif
}

void* SharedLibrary::symbol(const char* name) const {
    if (!m_handle)
        return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}

QString PlatformLibraryFileName(const QString& base) {
#if defined(_WIN32)
    return base.toUpper() + QStringLiteral(".DLL");
#elif defined(__APPLE__)
    return QStringLiteral("lib%1.dylib").arg(base);
#else
    return QStringLiteral("lib%1.so").arg(base);
#endif
}

} // namespace platform
