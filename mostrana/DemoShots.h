// TDemoShots: pictures of the program's three windows, so that a machine
// without a screen can show what a newcomer would see.
#pragma once

#include <memory>
#include <string>

class TForm;
class TObject;
class TTimer;

// Made once the forms exist and before the message loop runs: about two
// seconds later it moves ArrowScroller1 so that the bar shows a part done,
// lets the windows paint, saves Form1.bmp, Form2.bmp and Form3.bmp (24-bit,
// frames included) into the folder and closes Form1, which ends the program.
class TDemoShots {
public:
    static constexpr unsigned Delay = 2000;
    // The scroller position the pictures show.
    static constexpr int PicturedPosition = 40;

    explicit TDemoShots(const std::string& folder);
    ~TDemoShots();
    TDemoShots(const TDemoShots&) = delete;
    TDemoShots& operator=(const TDemoShots&) = delete;

    // True when some picture could not be saved (each failure is also written
    // to standard error).
    bool Failed() const { return failed_; }

    // True when path names an existing folder.
    static bool IsFolder(const std::string& path);

private:
    void TakePictures(TObject* sender);
    void Save(TForm* form, const char* name);

    std::string folder_;
    std::unique_ptr<TTimer> timer_;
    bool failed_ = false;
};
