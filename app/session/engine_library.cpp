#include "app/session/engine_library.h"

#include <QFileInfo>

namespace app::session {

void TDynamicLibrary::SetLibraryName(const QString& name) {
    Unload();
    m_library.setFileName(name);
}

void TDynamicLibrary::Load() {
    if (IsLoaded()) return;
    // QLibrary would search the system's library path for a bare name; the engine comes from one place.
    if (!QFileInfo(m_library.fileName()).isFile()) throw EFileNotFoundError();
    m_library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!m_library.load()) throw EInitError();
}

QFunctionPointer TDynamicLibrary::EntryPoint(const char* name) {
    if (!IsLoaded()) throw EDLLNotOpenError();
    return m_library.resolve(name);
}

void TDynamicLibrary::Unload() {
    if (m_library.isLoaded()) m_library.unload();
}

}  // namespace app::session
