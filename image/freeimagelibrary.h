#pragma once

#include <FreeImage.h>
#include <QString>

namespace ts {

// The FreeImage functions the decoder uses, from the library opened the first time a picture is
// read. FreeImage brings some twenty picture libraries with it, and linking them would load them at
// every start of every program; tessary-cli checks a map without its picture in a fraction of that.
struct FreeImageLibrary {
    decltype(&FreeImage_Initialise) Initialise = nullptr;
    decltype(&FreeImage_SetOutputMessage) SetOutputMessage = nullptr;
    decltype(&FreeImage_GetFIFFromFilename) GetFIFFromFilename = nullptr;
    decltype(&FreeImage_FIFSupportsReading) FIFSupportsReading = nullptr;
    decltype(&FreeImage_OpenMemory) OpenMemory = nullptr;
    decltype(&FreeImage_LoadFromMemory) LoadFromMemory = nullptr;
    decltype(&FreeImage_CloseMemory) CloseMemory = nullptr;
    decltype(&FreeImage_Unload) Unload = nullptr;
    decltype(&FreeImage_Clone) Clone = nullptr;
    decltype(&FreeImage_GetImageType) GetImageType = nullptr;
    decltype(&FreeImage_GetBPP) GetBPP = nullptr;
    decltype(&FreeImage_GetWidth) GetWidth = nullptr;
    decltype(&FreeImage_GetHeight) GetHeight = nullptr;
    decltype(&FreeImage_GetScanLine) GetScanLine = nullptr;
    decltype(&FreeImage_ConvertTo32Bits) ConvertTo32Bits = nullptr;
    decltype(&FreeImage_ConvertToStandardType) ConvertToStandardType = nullptr;

    QString error; // why the library could not be opened; empty when every function was found
    bool ok() const { return error.isEmpty(); }
};

// Opened and initialised once, on the first call, and kept for the rest of the run.
const FreeImageLibrary& freeImage();

} // namespace ts
