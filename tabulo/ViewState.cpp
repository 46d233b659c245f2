// Fields of the statistics views' state records.
#include "ViewState.h"

#include <cstdint>
#include <memory>

void AddIntList(TMemBuffer& buffer, const std::vector<int>& items) {
    buffer.AddInt(int(items.size()));
    for (int item : items) buffer.AddInt(item);
}

void AddDoubleList(TMemBuffer& buffer, const std::vector<double>& items) {
    buffer.AddInt(int(items.size()));
    for (double item : items) buffer.AddDouble(item);
}

bool ReadStateCount(TMemBuffer& buffer, int itemBytes, int& count) {
    int stored = 0;
    if (!buffer.ReadInt(stored) || stored < 0 || int64_t(stored) * itemBytes > buffer.GetRemaining()) return false;
    count = stored;
    return true;
}

namespace {

// A count, then so many items of itemBytes each, read by read().
template <class Item, class Read>
bool ReadList(TMemBuffer& buffer, int itemBytes, std::vector<Item>& items, Read read) {
    int count = 0;
    if (!ReadStateCount(buffer, itemBytes, count)) return false;
    std::vector<Item> stored(static_cast<size_t>(count));
    for (Item& item : stored) item = read();
    items.swap(stored);
    return true;
}

}  // namespace

bool ReadIntList(TMemBuffer& buffer, std::vector<int>& items) {
    return ReadList(buffer, 4, items, [&buffer] { return buffer.ReadInt(); });
}

bool ReadDoubleList(TMemBuffer& buffer, std::vector<double>& items) {
    return ReadList(buffer, 8, items, [&buffer] { return buffer.ReadDouble(); });
}

bool ReadStateInt(TMemBuffer& buffer, int& value) { return buffer.ReadInt(value); }

bool ReadStateDouble(TMemBuffer& buffer, double& value) {
    if (buffer.GetRemaining() < 8) return false;
    value = buffer.ReadDouble();
    return true;
}

bool ReadStateString(TMemBuffer& buffer, std::string& text) {
    // The length is looked at first, so that ReadString's null means "" here.
    int length = 0;
    if (!ReadStateCount(buffer, 1, length) || !buffer.SeekRead(-4, 1)) return false;
    std::unique_ptr<char[]> read(buffer.ReadString());
    text = read ? std::string(read.get(), size_t(length)) : std::string();
    return true;
}
