#pragma once

#include "userinterface.h"

#include <QString>
#include <optional>

namespace ts {

struct MapDocument;

// The map header panel as text: what each of its boxes holds. Showing fills it from the document,
// committing writes it back; the widgets only copy it to and from their controls.
struct MapHeaderFields {
    QString title;           // txtThx2Title
    QString imageFile;       // txtImageFile
    QString description;     // txtMapDescription, line breaks as LF
    bool scenario = false;   // chkScenario
    bool wrapAround = false; // chkWraparound
    bool noHomelandNames = false;
    QString featuresFrequency; // txtFeaturesFrequency, empty = not set
    QString defaultMapZoom;    // txtDefaultMapZoom, empty = not set
    QString textColor[4];      // txtRed, txtGreen, txtBlue, txtAlpha
    friend bool operator==(const MapHeaderFields&, const MapHeaderFields&) = default;
};

// Ranges a header box is clamped to when the user leaves it.
inline constexpr std::int16_t kFeaturesFrequencyMax = 100;
inline constexpr float kDefaultMapZoomMax = 2.0f;

MapHeaderFields ShowMapHeader(const MapDocument& doc);
// Empty number boxes unset their value; an empty red box unsets the whole text colour.
void CommitMapHeader(MapDocument& doc, const MapHeaderFields& fields);

// Whether the text colour is set, judged as the header shows it: by the sum of its components.
bool MapTextColorShown(const MapDocument& doc);
// The colour swatch of the red, green and blue boxes (each 0..1 scaled to a byte); boxes that hold
// no number count as 0.
Color MapTextColorOf(const MapHeaderFields& fields);
// A colour picked for the text: red, green and blue boxes as fractions of 255 at full precision.
void SetPickedTextColor(MapHeaderFields& fields, Color picked);

inline constexpr const char* kMapImageFilter = "Map Image (*.tga;*.rgb)|*.tga;*.rgb";

// Asks for a new map picture in the maps directory. Returns its file name without folder, or
// nothing when the user cancels.
std::optional<QString> BrowseMapImage(UserInterface& ui, const QString& mapsDirectory,
                                      const QString& currentImageFile);

} // namespace ts
