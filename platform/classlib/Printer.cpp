// TPrinter: document and page control, PNG output of the page bitmap.
#include "Printer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include "Exceptions.h"
#include "GraphicsBitmap.h"

namespace {

const char kFolderVariable[] = "SUITE_PRINTER_FOLDER";

std::string FileNamePart(const std::string& title) {
    if (title.empty()) return "Document";
    // Room for the page number and extension within a 255-byte file name.
    std::string name = title.substr(0, 200);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < ' ' || std::string("/\\:*?\"<>|").find(c) != std::string::npos) c = '_';
    return name;
}

// Writes the 32-bit rows (bytes B, G, R, 0) of the bitmap as an 8-bit RGB PNG.
// False when the file cannot be opened or written.
bool WritePng(const std::string& path, TBitmap& bitmap) {
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    std::vector<png_byte> rgb(static_cast<size_t>(width) * 3);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::remove(path.c_str());
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // 96 dots per inch as pixels per metre.
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const auto* row = static_cast<const png_byte*>(bitmap.ScanLine(y));
        for (int x = 0; x < width; ++x) {
            rgb[x * 3] = row[x * 4 + 2];
            rgb[x * 3 + 1] = row[x * 4 + 1];
            rgb[x * 3 + 2] = row[x * 4];
        }
        png_write_row(png, rgb.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

TPrinter::TPrinter() : page_(new TBitmap) {
    page_->SetPixelFormat(pf32bit);
    page_->SetSize(kPageWidth, kPageHeight);
}

TPrinter::~TPrinter() = default;

TCanvas* TPrinter::GetCanvas() { return page_->GetCanvas(); }

void TPrinter::CheckPrinting() const {
    if (!printing_) throw EPrinter("Printer is not currently printing");
}

void TPrinter::ClearPage() {
    HDC dc = page_->GetCanvas()->GetHandle();
    if (dc) PatBlt(dc, 0, 0, kPageWidth, kPageHeight, WHITENESS);
}

std::string TPrinter::PagePath() const {
    const char* folder = std::getenv(kFolderVariable);
    std::string path = folder && *folder ? std::string(folder) : std::string(".");
    if (path.back() != '/') path += '/';
    return path + FileNamePart(title_) + "-" + std::to_string(pageNumber_) + ".png";
}

void TPrinter::WritePage() {
    std::string path = PagePath();
    if (!WritePng(path, *page_)) throw EPrinter("Cannot write page file " + path);
    pageFiles_.push_back(path);
}

void TPrinter::BeginDoc() {
    if (printing_) throw EPrinter("Printing in progress");
    pageFiles_.clear();
    aborted_ = false;
    pageNumber_ = 1;
    ClearPage();
    printing_ = true;
}

void TPrinter::NewPage() {
    CheckPrinting();
    WritePage();
    ++pageNumber_;
    ClearPage();
}

void TPrinter::EndDoc() {
    CheckPrinting();
    // The document is closed even when its last page cannot be written.
    printing_ = false;
    WritePage();
}

void TPrinter::Abort() {
    if (!printing_) return;
    printing_ = false;
    aborted_ = true;
    for (const std::string& path : pageFiles_) std::remove(path.c_str());
    pageFiles_.clear();
}

TPrinter* Printer() {
    // Never destroyed: it must outlive every other static that may print.
    static TPrinter* printer = new TPrinter;
    return printer;
}
