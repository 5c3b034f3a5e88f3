#include "freeimagelibrary.h"

#include <dlfcn.h>

namespace ts {

namespace {

template <typename Function> bool resolve(void* handle, const char* name, Function& function, QString& error) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    if (!function && error.isEmpty()) error = QStringLiteral("FreeImage lacks %1").arg(QLatin1String(name));
    return function != nullptr;
}

FreeImageLibrary open() {
    FreeImageLibrary fi;
    void* handle = dlopen(TESSARY_FREEIMAGE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        fi.error = QStringLiteral("FreeImage could not be loaded: %1").arg(QString::fromLocal8Bit(dlerror()));
        return fi;
    }
    QString& e = fi.error;
    resolve(handle, "FreeImage_Initialise", fi.Initialise, e);
    resolve(handle, "FreeImage_SetOutputMessage", fi.SetOutputMessage, e);
    resolve(handle, "FreeImage_GetFIFFromFilename", fi.GetFIFFromFilename, e);
    resolve(handle, "FreeImage_FIFSupportsReading", fi.FIFSupportsReading, e);
    resolve(handle, "FreeImage_OpenMemory", fi.OpenMemory, e);
    resolve(handle, "FreeImage_LoadFromMemory", fi.LoadFromMemory, e);
    resolve(handle, "FreeImage_CloseMemory", fi.CloseMemory, e);
    resolve(handle, "FreeImage_Unload", fi.Unload, e);
    resolve(handle, "FreeImage_Clone", fi.Clone, e);
    resolve(handle, "FreeImage_GetImageType", fi.GetImageType, e);
    resolve(handle, "FreeImage_GetBPP", fi.GetBPP, e);
    resolve(handle, "FreeImage_GetWidth", fi.GetWidth, e);
    resolve(handle, "FreeImage_GetHeight", fi.GetHeight, e);
    resolve(handle, "FreeImage_GetScanLine", fi.GetScanLine, e);
    resolve(handle, "FreeImage_ConvertTo32Bits", fi.ConvertTo32Bits, e);
    resolve(handle, "FreeImage_ConvertToStandardType", fi.ConvertToStandardType, e);
    // The handle stays open: the functions are used until the process ends.
    return fi;
}

} // namespace

const FreeImageLibrary& freeImage() {
    static const FreeImageLibrary library = open();
    return library;
}

} // namespace ts
