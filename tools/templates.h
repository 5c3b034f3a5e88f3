#pragma once

#include "mapdocument.h"
#include "paths.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ts {

class UserInterface;

// A template file holds one value a line: 28 province values, 39 commander blocks of 84 and 37 more.
inline constexpr int kTemplateValueCount = 3341;
inline constexpr const char* kTemplateFilter = "Province Template file (*.ptf)|*.ptf";
inline constexpr const char* kTemplateExtension = ".ptf";

// The folder the templates are kept in, for the program folder given. Everything that reads or
// writes a template asks here.
QString templatesFolder(const QString& program = programFolder());
// The templates shipped with the program; in the installed layout another folder than the user's.
QString shippedTemplatesFolder(const QString& program = programFolder());

// The template values of a province as file text: strings in double quotes, booleans as #TRUE# or
// #FALSE#, numbers in decimal, each line ended by CR LF. Defence, owner, special start and the god
// are not part of a template.
std::string TemplateText(const ProvinceDataType& province);

// Reads template text value by value in the order TemplateText writes it. Stops at the first value
// that is missing or of the wrong kind and returns false with a description of it; the values
// before it have then been stored.
bool ParseTemplateText(std::string_view bytes, ProvinceDataType& into, std::string& error);

// Merges a template into a province. Nothing the template leaves empty, zero, false or -1 clears
// anything in the province; a template commander replaces the province's commander of the same slot.
struct TemplateMerge {
    // Slots 1..39 that took a unit from the template; their navigator nodes must follow.
    std::vector<int> commanderSlots;
};
TemplateMerge MergeTemplate(MapDocument& doc, int province, const ProvinceDataType& tpl);

// The active template (TemplateProvince) and the three actions on it: save the current province as a
// template, choose a template file, apply the active template to the current province.
class ProvinceTemplates {
public:
    // folder gives the templates folder at the moment it is needed, shipped the shipped one.
    explicit ProvinceTemplates(UserInterface& ui, std::function<QString()> folder = [] { return templatesFolder(); },
                               std::function<QString()> shipped = [] { return shippedTemplatesFolder(); });
    ~ProvinceTemplates();

    // Asks for a name and writes the current province into TStemplates; the saved template becomes
    // the active one. Returns whether a template was written.
    bool SaveTemplate(const MapDocument& doc);
    // Lets the user pick a template file and reads it. Returns whether a template was read. The
    // shipped templates the user has no copy of are put into the user's folder first, so the file
    // dialog offers them beside the user's own.
    bool ChooseTemplate();
    // Reads the file into TemplateProvince value by value. A failing value is reported and ends the
    // read: it and the values after it, and the template's name, stay as they were.
    bool ReadTemplate(const QString& path);
    // Merges the active template into the current province. Returns nothing when there is no current
    // province or no active template.
    std::optional<TemplateMerge> ApplyTemplate(MapDocument& doc) const;

    bool hasTemplate() const { return !mPath.isEmpty(); }
    // The template's name (its file name without ".ptf") and the full path, for lblTemplateActive.
    const QString& name() const { return mName; }
    const QString& path() const { return mPath; }
    const ProvinceDataType& TemplateProvince() const { return *mTemplate; }

private:
    void activate(std::unique_ptr<ProvinceDataType> tpl, const QString& path);

    UserInterface& mUi;
    std::function<QString()> mFolder;
    std::function<QString()> mShipped;
    std::unique_ptr<ProvinceDataType> mTemplate;
    QString mName;
    QString mPath;
};

} // namespace ts
