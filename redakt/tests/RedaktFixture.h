// Shared by the Redakt tests: a shown form with an editor on it, and checks
// that a record reader refuses damaged forms without touching its target.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Form.h"
#include "MemBuffer.h"
#include "TextEditor.h"
#include "Win32.h"
#include "display/TestDriver.h"

// An editor whose protected settings a test may set directly (as the
// settings reader does) and that records every line it paints.
class TTestEditor : public TTextEditor {
public:
    using TTextEditor::TTextEditor;
    using TTextEditor::EditMode;
    using TTextEditor::Paint;
    using TTextEditor::ShowBoldWords;
    using TTextEditor::ShowCommonBoldWords;

    void PaintLine(int line) override {
        painted.push_back(line);
        TTextEditor::PaintLine(line);
    }
    std::vector<int> painted;
};

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

    // Gives the editor these lines, its ranges to fit, and paints it.
    void ShowText(TTextEditor* editor, const std::vector<std::string>& text) {
        editor->lines.Clear();
        int longest = 0;
        for (const std::string& line : text) {
            editor->lines.Add(TString(line));
            longest = std::max(longest, static_cast<int>(line.size()));
        }
        editor->SetVMax(std::max(static_cast<int>(text.size()) - 1, 0));
        editor->SetHMax(longest);
        editor->Repaint();
        driver.PumpUntilIdle();
    }

    // The client rectangle of the character cells [col, col + count) of a line.
    static RECT CellsRect(TTextEditor* editor, int line, int col, int count) {
        const int w = editor->GetCharWidth();
        const int h = editor->GetLineHeight();
        const int x = (col - editor->GetHPos()) * w + editor->GetColGap();
        const int y = (line - editor->GetVPos()) * h;
        return RECT{x, y, x + count * w, y + h};
    }

    // How many pixels of a client rectangle show exactly colour.
    int Count(TWinControl* control, const RECT& rect, TColor colour) {
        const COLORREF wanted = ColorToRGB(colour);
        int found = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (driver.Pixel(control->GetHandle(), x, y) == wanted) ++found;
        return found;
    }

    // How many pixels of the cells [col, col + count) of a line are ink of
    // colour on the background: a blend of the two at least a third of the
    // way to the ink, as the edges of smoothed glyphs are.
    int Ink(TTextEditor* editor, int line, int col, int count, TColor colour) {
        return Ink(editor, line, col, count, colour, editor->GetBkColor());
    }
    int Ink(TTextEditor* editor, int line, int col, int count, TColor colour, TColor background) {
        const RECT rect = CellsRect(editor, line, col, count);
        int found = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if (IsBlendOf(driver.Pixel(editor->GetHandle(), x, y), ColorToRGB(colour), ColorToRGB(background)))
                    ++found;
        return found;
    }
    static bool IsBlendOf(COLORREF pixel, COLORREF ink, COLORREF background) {
        if (pixel == CLR_INVALID) return false;
        const int channels[3][3] = {{GetRValue(pixel), GetRValue(ink), GetRValue(background)},
                                    {GetGValue(pixel), GetGValue(ink), GetGValue(background)},
                                    {GetBValue(pixel), GetBValue(ink), GetBValue(background)}};
        int widest = 0;
        for (int c = 1; c < 3; ++c)
            if (std::abs(channels[c][1] - channels[c][2]) > std::abs(channels[widest][1] - channels[widest][2])) widest = c;
        const int span = channels[widest][1] - channels[widest][2];
        if (span == 0) return pixel == ink;
        const double share = double(channels[widest][0] - channels[widest][2]) / span;
        if (share < 0.34 || share > 1.0) return false;
        for (const auto& channel : channels)
            if (std::abs(channel[2] + share * (channel[1] - channel[2]) - channel[0]) > 6) return false;
        return true;
    }

    // The client pixels of a control, row by row.
    std::vector<COLORREF> Pixels(TWinControl* control) {
        std::vector<COLORREF> pixels;
        const RECT client = control->GetClientRect();
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x) pixels.push_back(driver.Pixel(control->GetHandle(), x, y));
        return pixels;
    }

    // What the control shows now (with the paints still pending) equals what
    // a full repaint at the same position draws.
    void ExpectShowsFullRepaint(TWinControl* control) {
        const std::vector<COLORREF> shown = Pixels(control);
        driver.PumpUntilIdle();
        EXPECT_EQ(Pixels(control), shown) << "a pending paint changed pixels";
        control->Repaint();
        driver.PumpUntilIdle();
        EXPECT_EQ(Pixels(control), shown) << "a full repaint differs";
    }

    bool HasUpdateRegion(TWinControl* control) {
        RECT update;
        return GetUpdateRect(control->GetHandle(), &update, FALSE) != FALSE;
    }

    win32::TestDriver driver;
    TForm* form = nullptr;
};

// A new empty folder under the system's temporary folder, removed with what
// it holds when the object goes.
class TTempFolder {
public:
    explicit TTempFolder(const std::string& name);
    ~TTempFolder() { std::filesystem::remove_all(path); }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    std::string Path(const std::string& file) const { return (path / file).string(); }

    const std::filesystem::path path;
};

inline TTempFolder::TTempFolder(const std::string& name)
    : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
}

// The lines of a container as strings.
inline std::vector<std::string> TextOf(const TStringContainer& lines) {
    std::vector<std::string> texts;
    for (int i = 0; i < lines.GetCount(); ++i) texts.push_back(lines[i].str());
    return texts;
}

// Gives an editor these lines and the vertical range to fit, without painting.
inline void SetLines(TTextEditor& editor, const std::vector<std::string>& text) {
    editor.lines.Clear();
    for (const std::string& line : text) editor.lines.Add(TString(line));
    editor.SetVMax(std::max(static_cast<int>(text.size()) - 1, 0));
}

// The CF_TEXT block's bytes as they are, NUL included; "<none>" without one.
inline std::string ClipboardBytes() {
    if (!OpenClipboard(nullptr)) return "<closed>";
    std::string bytes = "<none>";
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        const char* data = static_cast<const char*>(GlobalLock(block));
        bytes.assign(data, GlobalSize(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return bytes;
}

// Puts exactly these bytes on the clipboard (no NUL is added).
inline void PutClipboardBytes(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty()) std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

inline void PutClipboardText(const std::string& text) { PutClipboardBytes(text + std::string(1, '\0')); }

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

// Runs attempt(bytes, mustFail) on every truncation of a valid form and on
// the damaged forms given (all must be refused), then on a bounded number of
// random byte mutations (each either reads or is refused cleanly).
template <class Attempt>
void TryDamagedForms(const std::vector<uint8_t>& valid, const std::vector<std::vector<uint8_t>>& damaged,
                     Attempt attempt, int mutations, unsigned seed) {
    for (size_t length = 0; length < valid.size(); ++length)
        attempt(std::vector<uint8_t>(valid.begin(), valid.begin() + static_cast<long>(length)), true);
    for (const auto& bytes : damaged) attempt(bytes, true);
    std::mt19937 random(seed);
    for (int round = 0; round < mutations && !valid.empty(); ++round) {
        std::vector<uint8_t> bytes = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        attempt(bytes, false);
    }
}

// A refused read must leave its target equal to what it was and the read
// position at the start. Under the address sanitizer this also shows that no
// read goes past the form. `fresh` makes the target, `same` compares two records.
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
        const bool readOk = read(target, buffer);
        if (mustFail) {
            EXPECT_FALSE(readOk) << "a damaged form of " << bytes.size() << " bytes was read";
        }
        if (!readOk) {
            EXPECT_TRUE(same(target, untouched)) << "a refused read changed its target";
            EXPECT_EQ(buffer.GetReadPosition(), 0) << "a refused read moved the read position";
        }
    };
    TryDamagedForms(valid, damaged, attempt, mutations, 12345);
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
        const bool readOk = read(target, file);
        if (mustFail) {
            EXPECT_FALSE(readOk) << "a damaged stream of " << bytes.size() << " bytes was read";
        }
        if (!readOk) {
            EXPECT_TRUE(same(target, untouched)) << "a refused read changed its target";
            EXPECT_EQ(std::ftell(file), 0L) << "a refused read moved the stream";
        }
        std::fclose(file);
    };
    TryDamagedForms(valid, damaged, attempt, mutations, 54321);
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
