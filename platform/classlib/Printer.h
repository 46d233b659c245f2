// The printer: pages drawn on a canvas by our GDI and written as PNG files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Graphics.h"

class TBitmap;

// One process-wide printer. A page is an A4 sheet at 96 dots per inch (794 x
// 1123 pixels, white when it begins). Each finished page is written to
// "<folder>/<title>-<page>.png", where the folder is $SUITE_PRINTER_FOLDER (the
// working folder when unset or empty), the title is cut to 200 bytes with
// characters that cannot stand in a file name replaced by '_' ("Document" when
// empty) and pages count from 1.
class TPrinter : public TObject {
    CLASSLIB_CLASS(TPrinter, TObject)

public:
    static constexpr int kPageWidth = 794;
    static constexpr int kPageHeight = 1123;

    TPrinter();
    ~TPrinter() override;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Starts a document on a fresh first page. Throws EPrinter ("Printing in
    // progress") while a document is open.
    void BeginDoc();
    // Writes the current page and starts a fresh one. Throws EPrinter ("Printer
    // is not currently printing") outside a document, or ("Cannot write page
    // file <path>") when the file cannot be written.
    void NewPage();
    // Writes the last page and closes the document; errors as NewPage.
    void EndDoc();
    // Closes the document without writing its current page and removes the
    // pages already written. Does nothing outside a document.
    void Abort();

    bool GetPrinting() const { return printing_; }
    bool GetAborted() const { return aborted_; }
    // The page canvas; drawing outside a document goes onto a page that the
    // next BeginDoc clears.
    TCanvas* GetCanvas();
    // The page's DC (the canvas's handle), for raw GDI calls.
    HDC GetHandle() { return GetCanvas()->GetHandle(); }
    int GetPageWidth() const { return kPageWidth; }
    int GetPageHeight() const { return kPageHeight; }
    // 1 for the first page of a document; 0 outside one.
    int GetPageNumber() const { return printing_ ? pageNumber_ : 0; }
    std::string GetTitle() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // The files written for the current or last document, in page order.
    const std::vector<std::string>& GetPageFiles() const { return pageFiles_; }

private:
    void CheckPrinting() const;
    void ClearPage();
    void WritePage();
    std::string PagePath() const;

    std::unique_ptr<TBitmap> page_;
    std::string title_;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
    std::vector<std::string> pageFiles_;
};

// The process-wide printer, made on first use.
TPrinter* Printer();
