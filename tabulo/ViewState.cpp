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

bool ReadIntList(TMemBuffer& buffer, std::vector<int>& items) {
    int count = 0;
    if (!ReadStateCount(buffer, 4, count)) return false;
    std::vector<int> read(static_cast<size_t>(count));
    for (int& item : read) item = buffer.ReadInt();
    items.swap(read);
    return true;
}

bool ReadDoubleList(TMemBuffer& buffer, std::vector<double>& items) {
    int count = 0;
    if (!ReadStateCount(buffer, 8, count)) return false;
    std::vector<double> read(static_cast<size_t>(count));
    for (double& item : read) item = buffer.ReadDouble();
    items.swap(read);
    return true;
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
