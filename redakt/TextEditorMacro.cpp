// TTextEditorMacroItem, TTextEditorMacro and TTextEditorMacros: copying and
// the memory-buffer and stream forms of recorded macros.
#include "TextEditorMacro.h"

#include "TextEditorRecordReading.h"

namespace {

constexpr int kStreamRecordSize = 11;
constexpr int kHighestParameter = 9;

// Sets a flag for the life of the object (the form a container writes next).
class TFormSwitch {
public:
    explicit TFormSwitch(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFormSwitch() { flag_ = false; }
    TFormSwitch(const TFormSwitch&) = delete;
    TFormSwitch& operator=(const TFormSwitch&) = delete;

private:
    bool& flag_;
};

// Gives the container's items back their owner after their storage moved.
template <class Container>
void AdoptItems(Container& container) {
    for (int i = 0; i < container.GetCount(); ++i) container[i].SetOwner(&container);
}

}  // namespace

// ---- TTextEditorMacroItem ----

void TTextEditorMacroItem::Assign(const TContainerItem& source) {
    TContainerItem::Assign(source);
    const auto* other = dynamic_cast<const TTextEditorMacroItem*>(&source);
    if (other == nullptr || other == this) return;
    kind = other->kind;
    key = other->key;
    ch = other->ch;
    param = other->param;
    shift = other->shift;
}

namespace {

// The four fields both forms begin with.
struct TMacroItemHead {
    uint8_t kind = 0;
    uint16_t key = 0;
    char ch = 0;
    int param = 0;
};

void WriteHead(TMemBuffer& buffer, const TTextEditorMacroItem& item) {
    buffer.AddByte(item.kind);
    buffer.AddByte(static_cast<uint8_t>(item.key & 0xFF));
    buffer.AddByte(static_cast<uint8_t>(item.key >> 8));
    buffer.AddByte(static_cast<uint8_t>(item.ch));
    buffer.AddInt(item.param);
}

bool ReadHead(TMemBuffer& buffer, TMacroItemHead& head) {
    uint8_t low = 0, high = 0, ch = 0;
    if (!buffer.ReadByte(head.kind) || !buffer.ReadByte(low) || !buffer.ReadByte(high) || !buffer.ReadByte(ch) ||
        !buffer.ReadInt(head.param))
        return false;
    head.key = static_cast<uint16_t>(low | (high << 8));
    head.ch = static_cast<char>(ch);
    return head.kind <= mkParameter && head.param >= 0 && head.param <= kHighestParameter;
}

void TakeHead(TTextEditorMacroItem& item, const TMacroItemHead& head) {
    item.kind = head.kind;
    item.key = head.key;
    item.ch = head.ch;
    item.param = head.param;
}

}  // namespace

void TTextEditorMacroItem::WriteStreamRecord(TMemBuffer& buffer) const {
    WriteHead(buffer, *this);
    buffer.AddByte(shift.Contains(ssShift) ? 1 : 0);
    buffer.AddByte(shift.Contains(ssCtrl) ? 1 : 0);
    buffer.AddByte(shift.Contains(ssAlt) ? 1 : 0);
}

bool TTextEditorMacroItem::ReadStreamRecord(TMemBuffer& buffer) {
    const int start = buffer.GetReadPosition();
    TMacroItemHead head;
    uint8_t held[3] = {0, 0, 0};
    if (!ReadHead(buffer, head) || !buffer.Read(held, 3)) {
        buffer.SeekRead(start);
        return false;
    }
    TakeHead(*this, head);
    shift = TShiftState();
    if (held[0] != 0) shift << ssShift;
    if (held[1] != 0) shift << ssCtrl;
    if (held[2] != 0) shift << ssAlt;
    return true;
}

void TTextEditorMacroItem::SaveToStream(FILE* file) const {
    TMemBuffer record;
    WriteStreamRecord(record);
    std::fwrite(record.GetBlock(), 1, static_cast<size_t>(record.GetSize()), file);
}

bool TTextEditorMacroItem::LoadFromStream(FILE* file) {
    TMemBuffer record;
    const long start = file != nullptr ? std::ftell(file) : -1;
    if (ReadStreamBlock(file, kStreamRecordSize, record) && ReadStreamRecord(record)) return true;
    if (start >= 0) std::fseek(file, start, SEEK_SET);
    return false;
}

void TTextEditorMacroItem::WriteToMemBuffer(TMemBuffer& buffer) const { WriteHead(buffer, *this); }

bool TTextEditorMacroItem::ReadFromMemBuffer(TMemBuffer& buffer) {
    const int start = buffer.GetReadPosition();
    TMacroItemHead head;
    if (!ReadHead(buffer, head)) {
        buffer.SeekRead(start);
        return false;
    }
    TakeHead(*this, head);
    shift = TShiftState();
    return true;
}

// ---- TTextEditorMacro ----

TTextEditorMacro::TTextEditorMacro(const TTextEditorMacro& source) : TObjectContainer<TTextEditorMacroItem>(source) {}

TTextEditorMacro& TTextEditorMacro::operator=(const TTextEditorMacro& source) {
    Assign(source);
    return *this;
}

void TTextEditorMacro::Assign(const TContainerItem& source) {
    TContainer::Assign(source);
    const auto* other = dynamic_cast<const TTextEditorMacro*>(&source);
    if (other != nullptr && other != this) name = other->name;
}

void TTextEditorMacro::TakeContentOf(TTextEditorMacro& other) {
    Swap(other);
    AdoptItems(*this);
    name = other.name;
}

void TTextEditorMacro::WriteItem(TMemBuffer& buffer, const void* item) const {
    const auto& event = *static_cast<const TTextEditorMacroItem*>(static_cast<const TContainerItem*>(item));
    if (fStreamForm)
        event.WriteStreamRecord(buffer);
    else
        event.WriteToMemBuffer(buffer);
}

bool TTextEditorMacro::ReadItem(TMemBuffer& buffer, void* item) {
    auto& event = *static_cast<TTextEditorMacroItem*>(static_cast<TContainerItem*>(item));
    return fStreamForm ? event.ReadStreamRecord(buffer) : event.ReadFromMemBuffer(buffer);
}

void TTextEditorMacro::WriteToMemBuffer(TMemBuffer& buffer) const {
    TContainer::WriteToMemBuffer(buffer);
    if (!fStreamForm) name.WriteToMemBuffer(buffer);
}

bool TTextEditorMacro::ReadFromMemBuffer(TMemBuffer& buffer) {
    const bool streamForm = fStreamForm;
    return ReadWholeRecord(*this, buffer, [streamForm](TTextEditorMacro& fresh, TMemBuffer& source) {
        if (!streamForm) return fresh.TContainer::ReadFromMemBuffer(source) && fresh.name.ReadFromMemBuffer(source);
        TFormSwitch form(fresh.fStreamForm);
        return fresh.TContainer::ReadFromMemBuffer(source);
    });
}

void TTextEditorMacro::WriteStreamForm(TMemBuffer& buffer) const {
    TFormSwitch form(fStreamForm);
    WriteToMemBuffer(buffer);
}

bool TTextEditorMacro::ReadStreamForm(TMemBuffer& buffer) {
    TFormSwitch form(fStreamForm);
    return ReadFromMemBuffer(buffer);
}

void TTextEditorMacro::SaveToStream(FILE* file) const {
    TFormSwitch form(fStreamForm);
    TContainer::SaveToStream(file);
}

bool TTextEditorMacro::LoadFromStream(FILE* file) {
    return LoadWholeRecord(*this, file, [](TTextEditorMacro& fresh, FILE* source) {
        TFormSwitch form(fresh.fStreamForm);
        return fresh.TContainer::LoadFromStream(source);
    });
}

// ---- TTextEditorMacros ----

void TTextEditorMacros::WriteItem(TMemBuffer& buffer, const void* item) const {
    const auto& macro = *static_cast<const TTextEditorMacro*>(static_cast<const TContainerItem*>(item));
    if (fStreamForm)
        macro.WriteStreamForm(buffer);
    else
        macro.WriteToMemBuffer(buffer);
}

bool TTextEditorMacros::ReadItem(TMemBuffer& buffer, void* item) {
    auto& macro = *static_cast<TTextEditorMacro*>(static_cast<TContainerItem*>(item));
    return fStreamForm ? macro.ReadStreamForm(buffer) : macro.ReadFromMemBuffer(buffer);
}

void TTextEditorMacros::TakeContentOf(TTextEditorMacros& other) {
    Swap(other);
    AdoptItems(*this);
}

bool TTextEditorMacros::ReadFromMemBuffer(TMemBuffer& buffer) {
    const bool streamForm = fStreamForm;
    return ReadWholeRecord(*this, buffer, [streamForm](TTextEditorMacros& fresh, TMemBuffer& source) {
        fresh.fStreamForm = streamForm;
        const bool read = fresh.TContainer::ReadFromMemBuffer(source);
        fresh.fStreamForm = false;
        return read;
    });
}

void TTextEditorMacros::SaveToStream(FILE* file) const {
    {
        TFormSwitch form(fStreamForm);
        TContainer::SaveToStream(file);
    }
    for (int i = 0; i < GetCount(); ++i) (*this)[i].name.SaveToStream(file);
}

bool TTextEditorMacros::LoadStreamForm(FILE* file) {
    {
        TFormSwitch form(fStreamForm);
        if (!TContainer::LoadFromStream(file)) return false;
    }
    for (int i = 0; i < GetCount(); ++i)
        if (!(*this)[i].name.LoadFromStream(file)) return false;
    return true;
}

bool TTextEditorMacros::LoadFromStream(FILE* file) {
    return LoadWholeRecord(*this, file, [](TTextEditorMacros& fresh, FILE* source) { return fresh.LoadStreamForm(source); });
}
