// TPrinter: documents, pages and the PNG files they come out as.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "Printer.h"

namespace {

struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<png_byte> rgb;  // 3 bytes per pixel, rows top to bottom

    COLORREF At(int x, int y) const {
        const png_byte* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return RGB(p[0], p[1], p[2]);
    }
};

// Reads an 8-bit RGB PNG with libpng's simplified reader; false when unreadable.
bool ReadPng(const std::string& path, PngImage& image) {
    png_image reader{};
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&reader, path.c_str())) return false;
    reader.format = PNG_FORMAT_RGB;
    image.width = static_cast<int>(reader.width);
    image.height = static_cast<int>(reader.height);
    image.rgb.resize(PNG_IMAGE_SIZE(reader));
    bool ok = png_image_finish_read(&reader, nullptr, image.rgb.data(), 0, nullptr) != 0;
    png_image_free(&reader);
    return ok;
}

bool FileExists(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

// Points the printer at a fresh temporary folder.
class PrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/printer-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        setenv("SUITE_PRINTER_FOLDER", folder.c_str(), 1);
        printer = Printer();
        if (printer->GetPrinting()) printer->Abort();
    }
    void TearDown() override {
        if (printer->GetPrinting()) printer->Abort();
        for (const std::string& path : printer->GetPageFiles()) std::remove(path.c_str());
        unsetenv("SUITE_PRINTER_FOLDER");
        std::remove(folder.c_str());
    }

    std::string folder;
    TPrinter* printer = nullptr;
};

TEST_F(PrinterTest, PagesComeOutAsPngFilesWithWhatTheCanvasDrew) {
    printer->SetTitle("Report: May/June");
    printer->BeginDoc();
    EXPECT_TRUE(printer->GetPrinting());
    EXPECT_EQ(printer->GetPageNumber(), 1);
    TCanvas* canvas = printer->GetCanvas();
    canvas->GetBrush()->SetColor(clRed);
    canvas->GetPen()->SetColor(clBlue);
    canvas->Rectangle(100, 100, 200, 150);
    canvas->GetFont()->SetColor(clBlack);
    canvas->GetBrush()->SetStyle(bsClear);
    canvas->TextOut(300, 300, "Page one");
    printer->NewPage();
    EXPECT_EQ(printer->GetPageNumber(), 2);
    canvas->GetBrush()->SetColor(clLime);
    canvas->FillRect(RECT{0, 0, 10, 10});
    printer->EndDoc();
    EXPECT_FALSE(printer->GetPrinting());

    ASSERT_EQ(printer->GetPageFiles().size(), 2u);
    EXPECT_EQ(printer->GetPageFiles()[0], folder + "/Report_ May_June-1.png");
    PngImage first;
    ASSERT_TRUE(ReadPng(printer->GetPageFiles()[0], first));
    EXPECT_EQ(first.width, printer->GetPageWidth());
    EXPECT_EQ(first.height, printer->GetPageHeight());
    EXPECT_EQ(first.At(150, 125), RGB(255, 0, 0));
    EXPECT_EQ(first.At(100, 100), RGB(0, 0, 255));
    EXPECT_EQ(first.At(5, 5), RGB(255, 255, 255));
    int dark = 0;
    for (int y = 300; y < 320; ++y)
        for (int x = 300; x < 360; ++x) dark += GetGValue(first.At(x, y)) < 128;
    EXPECT_GT(dark, 0) << "the text is on the page";

    PngImage second;
    ASSERT_TRUE(ReadPng(printer->GetPageFiles()[1], second));
    EXPECT_EQ(second.At(5, 5), RGB(0, 255, 0));
    EXPECT_EQ(second.At(150, 125), RGB(255, 255, 255)) << "a new page starts white";
}

TEST_F(PrinterTest, DocumentStateErrorsAndAbort) {
    EXPECT_THROW(printer->NewPage(), EPrinter);
    EXPECT_THROW(printer->EndDoc(), EPrinter);
    printer->Abort();  // outside a document: nothing
    printer->SetTitle("");
    printer->BeginDoc();
    EXPECT_THROW(printer->BeginDoc(), EPrinter);
    printer->NewPage();
    std::string firstPage = folder + "/Document-1.png";
    EXPECT_TRUE(FileExists(firstPage));
    printer->Abort();
    EXPECT_TRUE(printer->GetAborted());
    EXPECT_FALSE(printer->GetPrinting());
    EXPECT_FALSE(FileExists(firstPage)) << "an aborted document leaves no pages";
    EXPECT_FALSE(FileExists(folder + "/Document-2.png"));
}

TEST_F(PrinterTest, ALongTitleIsCutToFitAFileName) {
    printer->SetTitle(std::string(300, 't'));
    printer->BeginDoc();
    printer->EndDoc();
    ASSERT_EQ(printer->GetPageFiles().size(), 1u);
    EXPECT_EQ(printer->GetPageFiles()[0], folder + "/" + std::string(200, 't') + "-1.png");
    EXPECT_TRUE(FileExists(printer->GetPageFiles()[0]));
}

TEST_F(PrinterTest, AnUnwritableFolderIsReported) {
    setenv("SUITE_PRINTER_FOLDER", (folder + "/missing").c_str(), 1);
    printer->BeginDoc();
    EXPECT_THROW(printer->EndDoc(), EPrinter);
    EXPECT_FALSE(printer->GetPrinting());
}

}  // namespace
