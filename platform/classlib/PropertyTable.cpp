// The property-table registry, access to properties by name as text, and the
// built-in tables of the component, control and graphics-object classes.
#include "PropertyTable.h"

#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "Component.h"
#include "Control.h"
#include "Exceptions.h"
#include "Graphics.h"
#include "WinControl.h"

namespace {

#define IDENTIFIER(Name) \
    TIdentifier { #Name, static_cast<int64_t>(Name) }

const TIdentifier kColors[] = {
    IDENTIFIER(clBlack),   IDENTIFIER(clMaroon),    IDENTIFIER(clGreen),         IDENTIFIER(clOlive),
    IDENTIFIER(clNavy),    IDENTIFIER(clPurple),    IDENTIFIER(clTeal),          IDENTIFIER(clGray),
    IDENTIFIER(clSilver),  IDENTIFIER(clRed),       IDENTIFIER(clLime),          IDENTIFIER(clYellow),
    IDENTIFIER(clBlue),    IDENTIFIER(clFuchsia),   IDENTIFIER(clAqua),          IDENTIFIER(clWhite),
    IDENTIFIER(clBtnFace), IDENTIFIER(clWindow),    IDENTIFIER(clWindowText),    IDENTIFIER(clHighlight),
    IDENTIFIER(clHighlightText), IDENTIFIER(clInfoBk), IDENTIFIER(clInfoText),   IDENTIFIER(clGrayText),
    IDENTIFIER(clBtnShadow), IDENTIFIER(clBtnText), IDENTIFIER(clBtnHighlight),  IDENTIFIER(clNone),
    IDENTIFIER(clDefault),
};
const TIdentifier kCursors[] = {
    IDENTIFIER(crDefault),  IDENTIFIER(crArrow),    IDENTIFIER(crCross),     IDENTIFIER(crIBeam),
    IDENTIFIER(crSizeNESW), IDENTIFIER(crSizeNS),   IDENTIFIER(crSizeNWSE),  IDENTIFIER(crSizeWE),
    IDENTIFIER(crUpArrow),  IDENTIFIER(crHourGlass), IDENTIFIER(crNo),       IDENTIFIER(crAppStart),
    IDENTIFIER(crHelp),     IDENTIFIER(crHandPoint), IDENTIFIER(crSizeAll),
};
const TIdentifier kAligns[] = {IDENTIFIER(alNone), IDENTIFIER(alTop),   IDENTIFIER(alBottom),
                               IDENTIFIER(alLeft), IDENTIFIER(alRight), IDENTIFIER(alClient)};
const TIdentifier kFontStyles[] = {IDENTIFIER(fsBold), IDENTIFIER(fsItalic), IDENTIFIER(fsUnderline),
                                   IDENTIFIER(fsStrikeOut)};
const TIdentifier kPenStyles[] = {IDENTIFIER(psSolid),        IDENTIFIER(psDash),  IDENTIFIER(psDot),
                                  IDENTIFIER(psDashDot),      IDENTIFIER(psDashDotDot), IDENTIFIER(psClear),
                                  IDENTIFIER(psInsideFrame)};
const TIdentifier kPenModes[] = {
    IDENTIFIER(pmBlack), IDENTIFIER(pmWhite),   IDENTIFIER(pmNop),       IDENTIFIER(pmNot),
    IDENTIFIER(pmCopy),  IDENTIFIER(pmNotCopy), IDENTIFIER(pmMergePenNot), IDENTIFIER(pmMaskPenNot),
    IDENTIFIER(pmMergeNotPen), IDENTIFIER(pmMaskNotPen), IDENTIFIER(pmMerge), IDENTIFIER(pmNotMerge),
    IDENTIFIER(pmMask),  IDENTIFIER(pmNotMask), IDENTIFIER(pmXor),       IDENTIFIER(pmNotXor),
};
const TIdentifier kBrushStyles[] = {IDENTIFIER(bsSolid),      IDENTIFIER(bsClear),      IDENTIFIER(bsHorizontal),
                                    IDENTIFIER(bsVertical),   IDENTIFIER(bsFDiagonal),  IDENTIFIER(bsBDiagonal),
                                    IDENTIFIER(bsCross),      IDENTIFIER(bsDiagCross)};
#undef IDENTIFIER

template <std::size_t Count>
constexpr TIdentifierList ListOf(const TIdentifier (&items)[Count]) {
    return {items, Count};
}
const TIdentifierList kAlignList = ListOf(kAligns);
const TIdentifierList kFontStyleList = ListOf(kFontStyles);
const TIdentifierList kPenStyleList = ListOf(kPenStyles);
const TIdentifierList kPenModeList = ListOf(kPenModes);
const TIdentifierList kBrushStyleList = ListOf(kBrushStyles);

}  // namespace

const TIdentifierList ColorIdentifiers = ListOf(kColors);
const TIdentifierList CursorIdentifiers = ListOf(kCursors);

namespace {

bool FontStored(const TPersistent* object) { return !static_cast<const TControl*>(object)->GetParentFont(); }
bool ColorStored(const TPersistent* object) { return !static_cast<const TControl*>(object)->GetParentColor(); }

const TPropertyInfo kComponentProperties[] = {
    CLASSLIB_STRING_PROPERTY(TComponent, Name, ""),
    CLASSLIB_INTEGER_PROPERTY(TComponent, Tag, 0),
};

const TPropertyInfo kControlProperties[] = {
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TControl, Left, 0)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TControl, Top, 0)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TControl, Width, 0)),
    NoDefault(CLASSLIB_INTEGER_PROPERTY(TControl, Height, 0)),
    CLASSLIB_ENUM_PROPERTY(TControl, Align, TAlign, alNone, &kAlignList),
    CLASSLIB_STRING_PROPERTY(TControl, Caption, ""),
    StoredWhen(CLASSLIB_NAMED_INTEGER_PROPERTY(TControl, Color, clBtnFace, &ColorIdentifiers), &ColorStored),
    CLASSLIB_NAMED_INTEGER_PROPERTY(TControl, Cursor, crDefault, &CursorIdentifiers),
    CLASSLIB_BOOLEAN_PROPERTY(TControl, Enabled, true),
    StoredWhen(CLASSLIB_OBJECT_PROPERTY(TControl, Font), &FontStored),
    CLASSLIB_STRING_PROPERTY(TControl, Hint, ""),
    CLASSLIB_BOOLEAN_PROPERTY(TControl, ParentColor, false),
    CLASSLIB_BOOLEAN_PROPERTY(TControl, ParentFont, true),
    CLASSLIB_BOOLEAN_PROPERTY(TControl, Visible, true),
    CLASSLIB_EVENT_PROPERTY(TControl, OnClick, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TControl, OnDblClick, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TControl, OnMouseDown, TMouseEvent),
    CLASSLIB_EVENT_PROPERTY(TControl, OnMouseMove, TMouseMoveEvent),
    CLASSLIB_EVENT_PROPERTY(TControl, OnMouseUp, TMouseEvent),
    CLASSLIB_EVENT_PROPERTY(TControl, OnResize, TNotifyEvent),
};

const TPropertyInfo kWinControlProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TWinControl, TabStop, false),
    NotStored(CLASSLIB_INTEGER_PROPERTY(TWinControl, TabOrder, -1)),
    CLASSLIB_EVENT_PROPERTY(TWinControl, OnEnter, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TWinControl, OnExit, TNotifyEvent),
    CLASSLIB_EVENT_PROPERTY(TWinControl, OnKeyDown, TKeyEvent),
    CLASSLIB_EVENT_PROPERTY(TWinControl, OnKeyPress, TKeyPressEvent),
    CLASSLIB_EVENT_PROPERTY(TWinControl, OnKeyUp, TKeyEvent),
};

const TPropertyInfo kFontProperties[] = {
    CLASSLIB_NAMED_INTEGER_PROPERTY(TFont, Color, clWindowText, &ColorIdentifiers),
    CLASSLIB_STRING_PROPERTY(TFont, Name, "MS Sans Serif"),
    CLASSLIB_INTEGER_PROPERTY(TFont, Size, 8),
    CLASSLIB_SET_PROPERTY(TFont, Style, TFontStyle, 0, &kFontStyleList),
};

const TPropertyInfo kPenProperties[] = {
    CLASSLIB_NAMED_INTEGER_PROPERTY(TPen, Color, clBlack, &ColorIdentifiers),
    CLASSLIB_ENUM_PROPERTY(TPen, Mode, TPenMode, pmCopy, &kPenModeList),
    CLASSLIB_ENUM_PROPERTY(TPen, Style, TPenStyle, psSolid, &kPenStyleList),
    CLASSLIB_INTEGER_PROPERTY(TPen, Width, 1),
};

const TPropertyInfo kBrushProperties[] = {
    CLASSLIB_NAMED_INTEGER_PROPERTY(TBrush, Color, clWhite, &ColorIdentifiers),
    CLASSLIB_ENUM_PROPERTY(TBrush, Style, TBrushStyle, bsSolid, &kBrushStyleList),
};

struct TTableRows {
    const TPropertyInfo* rows;
    std::size_t count;
};

struct TTableRegistry {
    std::mutex lock;
    std::map<const TClassInfo*, TTableRows> tables;
};

template <std::size_t Count>
void AddTable(TTableRegistry& registry, const TClassInfo* info, const TPropertyInfo (&rows)[Count]) {
    registry.tables[info] = {rows, Count};
}

TTableRegistry& Registry() {
    static TTableRegistry* registry = [] {
        auto* made = new TTableRegistry;
        AddTable(*made, TComponent::StaticClassInfo(), kComponentProperties);
        AddTable(*made, TControl::StaticClassInfo(), kControlProperties);
        AddTable(*made, TWinControl::StaticClassInfo(), kWinControlProperties);
        AddTable(*made, TFont::StaticClassInfo(), kFontProperties);
        AddTable(*made, TPen::StaticClassInfo(), kPenProperties);
        AddTable(*made, TBrush::StaticClassInfo(), kBrushProperties);
        return made;
    }();
    return *registry;
}

// The tables of the class chain, most derived first.
std::vector<TTableRows> TablesOf(const TPersistent* object) {
    std::vector<TTableRows> found;
    if (!object) return found;
    TTableRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (const TClassInfo* info = object->ClassInfo(); info; info = info->base) {
        auto entry = registry.tables.find(info);
        if (entry != registry.tables.end()) found.push_back(entry->second);
    }
    return found;
}

TPropertyTarget Resolve(TPersistent* object, const std::string& path) {
    TPropertyTarget target = FindPropertyPath(object, path);
    if (!target.row) throw EPropertyError("Property " + path + " does not exist");
    return target;
}

bool IsReal(TPropertyType type) { return type == TPropertyType::Float || type == TPropertyType::Double; }

bool IsOrdinal(TPropertyType type) {
    return type == TPropertyType::Integer || type == TPropertyType::Boolean || type == TPropertyType::Enumeration ||
           type == TPropertyType::Set;
}

std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

const TIdentifier* FindIdentifier(const TIdentifierList* list, const std::string& name) {
    if (!list) return nullptr;
    for (std::size_t i = 0; i < list->count; ++i)
        if (SameIdentifier(name, list->items[i].name)) return &list->items[i];
    return nullptr;
}

[[noreturn]] void BadValue(const TPropertyInfo& row, const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid value of property " + row.name);
}

int64_t ParseNumber(const TPropertyInfo& row, const std::string& text) {
    std::string digits = text;
    bool negative = !digits.empty() && digits[0] == '-';
    if (negative) digits.erase(0, 1);
    int base = 10;
    if (!digits.empty() && digits[0] == '$') {
        base = 16;
        digits.erase(0, 1);
    }
    if (digits.empty() || digits.size() > 16) BadValue(row, text);
    for (char c : digits)
        if (!(base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c))))
            BadValue(row, text);
    unsigned long long magnitude = std::strtoull(digits.c_str(), nullptr, base);
    if (magnitude > 0xFFFFFFFFull) BadValue(row, text);
    // $hex spells the 32-bit pattern, so $80000000 is a (negative) system colour.
    int64_t value = base == 16 ? static_cast<int32_t>(static_cast<uint32_t>(magnitude)) : static_cast<int64_t>(magnitude);
    if (base == 10 && magnitude > 0x80000000ull) BadValue(row, text);
    return negative ? -value : value;
}

// Reads the whole text as a RealType; the standard conversion is the same in
// every locale. Overflow and underflow past the type's range are refused.
template <class RealType>
double ParseReal(const TPropertyInfo& row, const std::string& text) {
    RealType value = 0;
    const char* end = text.data() + text.size();
    std::from_chars_result result = std::from_chars(text.data(), end, value);
    if (result.ec == std::errc::result_out_of_range)
        throw EConvertError("'" + text + "' is out of the range of property " + row.name);
    if (result.ec != std::errc() || result.ptr != end) BadValue(row, text);
    if (!std::isfinite(value) && !row.nonFiniteAllowed)
        throw EConvertError("'" + text + "' is no finite number, which property " + row.name + " needs");
    return static_cast<double>(value);
}

// Equal as stored: the same bits in the row's type (so -0 differs from 0
// and NaN equals itself).
bool SameReal(const TPropertyInfo& row, double a, double b) {
    if (row.type == TPropertyType::Float) {
        float x = static_cast<float>(a), y = static_cast<float>(b);
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    return std::memcmp(&a, &b, sizeof a) == 0;
}

int64_t ParseSet(const TPropertyInfo& row, const std::string& text) {
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') BadValue(row, text);
    int64_t bits = 0;
    std::string inner = text.substr(1, text.size() - 2);
    std::size_t start = 0;
    while (start <= inner.size()) {
        std::size_t comma = inner.find(',', start);
        std::string element = Trim(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (element.empty()) {
            if (comma != std::string::npos || !Trim(inner).empty()) BadValue(row, text);
        } else {
            const TIdentifier* identifier = FindIdentifier(row.identifiers, element);
            if (!identifier) BadValue(row, text);
            bits |= int64_t{1} << identifier->value;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return bits;
}

}  // namespace

TPropertyTarget FindPropertyPath(TPersistent* object, const std::string& path) {
    std::size_t start = 0;
    while (object) {
        std::size_t dot = path.find('.', start);
        std::string part = path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        const TPropertyInfo* row = FindPropertyInfo(object, part);
        if (!row) break;
        if (dot == std::string::npos) return {object, row};
        if (row->type != TPropertyType::Object) break;
        object = row->getObject(object);
        start = dot + 1;
    }
    return {object, nullptr};
}

bool SameIdentifier(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void ThrowEventTypeMismatch(const char* eventName) {
    throw EPropertyError(std::string("Handler of the wrong type for event ") + eventName);
}

void RegisterPropertyTable(const TClassInfo* classInfo, const TPropertyInfo* rows, std::size_t count) {
    if (!classInfo) return;
    TTableRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.lock);
    registry.tables[classInfo] = {rows, count};
}

const TPropertyInfo* FindPropertyInfo(const TPersistent* object, const std::string& name) {
    for (const TTableRows& table : TablesOf(object))
        for (std::size_t i = 0; i < table.count; ++i)
            if (SameIdentifier(name, table.rows[i].name)) return &table.rows[i];
    return nullptr;
}

std::vector<const TPropertyInfo*> PublishedProperties(const TPersistent* object) {
    std::vector<TTableRows> tables = TablesOf(object);
    std::vector<const TPropertyInfo*> rows;
    for (auto table = tables.rbegin(); table != tables.rend(); ++table)
        for (std::size_t i = 0; i < table->count; ++i) {
            const TPropertyInfo* row = &table->rows[i];
            bool replaced = false;
            for (const TPropertyInfo*& earlier : rows)
                if (SameIdentifier(earlier->name, row->name)) {
                    earlier = row;
                    replaced = true;
                }
            if (!replaced) rows.push_back(row);
        }
    return rows;
}

int64_t TextToOrdinal(const TPropertyInfo& row, const std::string& raw) {
    std::string text = Trim(raw);
    switch (row.type) {
    case TPropertyType::Boolean:
        if (SameIdentifier(text, "True")) return 1;
        if (SameIdentifier(text, "False")) return 0;
        BadValue(row, text);
    case TPropertyType::Enumeration:
        if (const TIdentifier* identifier = FindIdentifier(row.identifiers, text)) return identifier->value;
        BadValue(row, text);
    case TPropertyType::Set:
        return ParseSet(row, text);
    case TPropertyType::Integer:
        if (const TIdentifier* identifier = FindIdentifier(row.identifiers, text)) return identifier->value;
        return ParseNumber(row, text);
    default:
        BadValue(row, text);
    }
}

std::string OrdinalToText(const TPropertyInfo& row, int64_t value) {
    switch (row.type) {
    case TPropertyType::Boolean:
        return value ? "True" : "False";
    case TPropertyType::Set: {
        std::string text = "[";
        for (std::size_t i = 0; row.identifiers && i < row.identifiers->count; ++i)
            if (value & (int64_t{1} << row.identifiers->items[i].value)) {
                if (text.size() > 1) text += ", ";
                text += row.identifiers->items[i].name;
            }
        return text + "]";
    }
    default:
        if (row.identifiers)
            for (std::size_t i = 0; i < row.identifiers->count; ++i)
                if (row.identifiers->items[i].value == value) return row.identifiers->items[i].name;
        return std::to_string(value);
    }
}

double TextToReal(const TPropertyInfo& row, const std::string& raw) {
    std::string text = Trim(raw);
    if (row.type == TPropertyType::Float) return ParseReal<float>(row, text);
    if (row.type == TPropertyType::Double) return ParseReal<double>(row, text);
    BadValue(row, text);
}

std::string RealToText(const TPropertyInfo& row, double value) {
    char buffer[64];
    std::to_chars_result result = row.type == TPropertyType::Float
                                      ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value))
                                      : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void SetPropertyText(TPersistent* object, const std::string& path, const std::string& text) {
    TPropertyTarget target = Resolve(object, path);
    const TPropertyInfo& row = *target.row;
    if (row.type == TPropertyType::String)
        row.setString(target.object, text);
    else if (IsReal(row.type))
        row.setReal(target.object, TextToReal(row, text));
    else if (IsOrdinal(row.type))
        row.setOrdinal(target.object, TextToOrdinal(row, text));
    else
        throw EPropertyError(std::string("Property ") + row.name + " cannot be set from text");
}

std::string GetPropertyText(TPersistent* object, const std::string& path) {
    TPropertyTarget target = Resolve(object, path);
    const TPropertyInfo& row = *target.row;
    if (row.type == TPropertyType::String) return row.getString(target.object);
    if (IsOrdinal(row.type)) return OrdinalToText(row, row.getOrdinal(target.object));
    if (IsReal(row.type)) return RealToText(row, row.getReal(target.object));
    throw EPropertyError(std::string("Property ") + row.name + " has no text value");
}

bool IsPropertyDefault(TPersistent* object, const std::string& path) {
    TPropertyTarget target = Resolve(object, path);
    const TPropertyInfo& row = *target.row;
    switch (row.type) {
    case TPropertyType::Event:
        return !row.eventAssigned(target.object);
    case TPropertyType::String:
        return row.hasDefault && row.getString(target.object) == (row.defaultString ? row.defaultString : "");
    case TPropertyType::Object: {
        TPersistent* inner = row.getObject(target.object);
        if (!inner) return true;
        for (const TPropertyInfo* innerRow : PublishedProperties(inner))
            if (!IsPropertyDefault(inner, innerRow->name)) return false;
        return true;
    }
    case TPropertyType::Float:
    case TPropertyType::Double:
        return row.hasDefault && SameReal(row, row.getReal(target.object), row.defaultReal);
    default:
        return row.hasDefault && row.getOrdinal(target.object) == row.defaultOrdinal;
    }
}

namespace {

const TPropertyInfo& ResolveEvent(TPropertyTarget target) {
    if (target.row->type != TPropertyType::Event)
        throw EPropertyError(std::string("Property ") + target.row->name + " is not an event");
    return *target.row;
}

// A name the form text can hold: a letter or '_', then letters, digits, '_'.
bool IsHandlerName(const std::string& name) {
    if (name.empty() || !(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

}  // namespace

void SetPropertyEvent(TPersistent* object, const std::string& path, const std::any& handler,
                      const std::string& handlerName) {
    TPropertyTarget target = Resolve(object, path);
    const TPropertyInfo& row = ResolveEvent(target);
    if (handlerName.empty()) {
        row.setEvent(target.object, handler);
        return;
    }
    if (!IsHandlerName(handlerName)) throw EPropertyError("'" + handlerName + "' is no handler name");
    row.setEvent(target.object, std::any(TNamedHandler{handler, handlerName}));
}

std::string GetPropertyEventName(TPersistent* object, const std::string& path) {
    TPropertyTarget target = Resolve(object, path);
    const TPropertyInfo& row = ResolveEvent(target);
    return row.eventHandlerName ? row.eventHandlerName(target.object) : std::string();
}
