// Shared by the Redakt tests: a shown form with an editor on it, and checks
// that a record reader refuses damaged forms without touching its target.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "Form.h"
#include "MemBuffer.h"
#include "TextEditor.h"
#include "display/TestDriver.h"

// Each test gets a fresh window layer and a visible 400x300 form at (50, 50).
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 1);
        form->SetBounds(50, 50, 400, 300);
        form->Show();
        driver.PumpUntilIdle();
    }
    void TearDown() override { delete form; }

    // An editor of class T on the form with the given bounds, painted.
    template <class T = TTextEditor>
    T* Place(int left = 10, int top = 10, int width = 300, int height = 200) {
        T* editor = new T(form);
        editor->SetBounds(left, top, width, height);
        editor->SetParent(form);
        driver.PumpUntilIdle();
        return editor;
    }

    bool HasUpdateRegion(TWinControl* control) {
        RECT update;
        return GetUpdateRect(control->GetHandle(), &update, FALSE) != FALSE;
    }

    win32::TestDriver driver;
    TForm* form = nullptr;
};

inline std::vector<uint8_t> BytesOf(const TMemBuffer& buffer) {
    const auto* block = static_cast<const uint8_t*>(buffer.GetBlock());
    return std::vector<uint8_t>(block, block + buffer.GetSize());
}

inline TMemBuffer BufferOf(const std::vector<uint8_t>& bytes) {
    TMemBuffer buffer;
    buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
    return buffer;
}

// A memory-buffer reader and a FILE reader of one record type.
template <class Record>
using TBufferReader = std::function<bool(Record&, TMemBuffer&)>;
template <class Record>
using TStreamReader = std::function<bool(Record&, FILE*)>;

// Every truncation of a valid form is refused, and so are the damaged forms
// given; then a bounded loop of random byte mutations: each read either
// succeeds or leaves the target equal to what it was and the read position
// at the start. Under the address sanitizer this also shows that no read
// goes past the form. `fresh` makes the target, `same` compares two records.
template <class Record>
void ExpectBufferReaderRefusesDamage(const std::vector<uint8_t>& valid, const std::vector<std::vector<uint8_t>>& damaged,
                                     TBufferReader<Record> read, std::function<void(Record&)> fresh,
                                     std::function<bool(const Record&, const Record&)> same, int mutations = 3000) {
    Record untouched;
    fresh(untouched);
    const auto attempt = [&](const std::vector<uint8_t>& bytes, bool mustFail) {
        Record target;
        fresh(target);
        TMemBuffer buffer = BufferOf(bytes);
        const bool read_ok = read(target, buffer);
        if (mustFail) {
            EXPECT_FALSE(read_ok) << "a damaged form of " << bytes.size() << " bytes was read";
        }
        if (!read_ok) {
            EXPECT_TRUE(same(target, untouched)) << "a refused read changed its target";
            EXPECT_EQ(buffer.GetReadPosition(), 0) << "a refused read moved the read position";
        }
    };
    for (size_t length = 0; length < valid.size(); ++length)
        attempt(std::vector<uint8_t>(valid.begin(), valid.begin() + static_cast<long>(length)), true);
    for (const auto& bytes : damaged) attempt(bytes, true);
    std::mt19937 random(12345);
    for (int round = 0; round < mutations && !valid.empty(); ++round) {
        std::vector<uint8_t> bytes = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        attempt(bytes, false);
    }
}

// The same through a FILE stream; a refused read leaves the stream at its start.
template <class Record>
void ExpectStreamReaderRefusesDamage(const std::vector<uint8_t>& valid, const std::vector<std::vector<uint8_t>>& damaged,
                                     TStreamReader<Record> read, std::function<void(Record&)> fresh,
                                     std::function<bool(const Record&, const Record&)> same, int mutations = 600) {
    Record untouched;
    fresh(untouched);
    const auto attempt = [&](const std::vector<uint8_t>& bytes, bool mustFail) {
        FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
        Record target;
        fresh(target);
        const bool read_ok = read(target, file);
        if (mustFail) {
            EXPECT_FALSE(read_ok) << "a damaged stream of " << bytes.size() << " bytes was read";
        }
        if (!read_ok) {
            EXPECT_TRUE(same(target, untouched)) << "a refused read changed its target";
            EXPECT_EQ(std::ftell(file), 0L) << "a refused read moved the stream";
        }
        std::fclose(file);
    };
    for (size_t length = 0; length < valid.size(); ++length)
        attempt(std::vector<uint8_t>(valid.begin(), valid.begin() + static_cast<long>(length)), true);
    for (const auto& bytes : damaged) attempt(bytes, true);
    std::mt19937 random(54321);
    for (int round = 0; round < mutations && !valid.empty(); ++round) {
        std::vector<uint8_t> bytes = valid;
        bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        attempt(bytes, false);
    }
}

// The bytes a FILE writer wrote.
template <class Write>
std::vector<uint8_t> StreamBytes(Write write) {
    FILE* file = std::tmpfile();
    write(file);
    const long size = std::ftell(file);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    std::rewind(file);
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
    std::fclose(file);
    return bytes;
}
