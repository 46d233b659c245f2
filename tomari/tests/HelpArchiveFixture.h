// A small help archive made with the Containers writer, as the document
// variant's tests read it: a start topic, a frame topic whose first sub-panel
// shows a picture with link areas, a topic with a 24-bit, an 8-bit and a
// JPEG-payload picture, a topic that declares a form, the image link file,
// the topic index and the default name.
#pragma once

#include <string>

#include "ImageLinks.h"
#include "MemBitmap.h"
#include "MemBuffer.h"
#include "Resource.h"
#include "StringContainer.h"
#include "Topics.h"

namespace help_archive {

// Pictures: 30 x 20 each; the map 120 x 40, its left half links to the pictures
// in the lower sub-panel and its right half to the start topic in "main".
constexpr int kPictureWidth = 30;
constexpr int kPictureHeight = 20;
const COLORREF kRed = RGB(0xD0, 0x20, 0x20);
const COLORREF kBlue = RGB(0x20, 0x30, 0xD0);  // palette entry 1 of the 8-bit picture
const COLORREF kGreen = RGB(0x20, 0xB0, 0x30);
// The map's halves, one colour per link area.
const COLORREF kMapLeft = RGB(0xF0, 0xC0, 0x40);
const COLORREF kMapRight = RGB(0x40, 0xA0, 0xC0);

const char* const kIndex =
    "<FS=14><B>Archive help</B><FS=10><NL>Welcome to the archive.<NL>"
    "<LINK=pictures.vgt>Pictures</LINK> <LINK=frame.vgt>Frame</LINK> <LINK=forms.vgt>Forms</LINK> "
    "<LINK=absent.vgt>Absent</LINK> <LINK=SEEALSO/Pictures/pictures.vgt/Forms/forms.vgt>More</LINK>";
const char* const kFrame =
    "<PANEL=NAME=map,SOURCE=map.vgt,LEFT=0,TOP=0,WIDTH=100%,HEIGHT=60>"
    "<PANEL=NAME=page,SOURCE=page.vgt,LEFT=0,TOP=60,WIDTH=100%,HEIGHT=-60>";
const char* const kMap = "<IMAGE=map.bmp,LINKS=map.ald>";
const char* const kPage = "A page about <B>archives</B> and <LINK=pictures.vgt>pictures</LINK>.";
const char* const kPictures = "<IMAGE=red.bmp><NL><IMAGE=blue.bmp><NL><IMAGE=green.jpg><NL>Three pictures";
const char* const kForms =
    "<FORM=NAME=sheet,CAPTION=Sheet,LEFT=600,TOP=60,WIDTH=240,HEIGHT=160>"
    "<LINK=page.vgt,TARGET=sheet>Open the sheet</LINK>";
const char* const kTopicList =
    "About,Start,index.vgt\nPictures,pictures.vgt\n/Frame,frame.vgt\nForms,forms.vgt\nPage,page.vgt\n";

// The lines of a topic as an entry's bytes.
inline TMemBuffer LinesEntry(const std::string& text) {
    TStringContainer lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.Add(TString(text.substr(start, end - start)));
    if (start < text.size()) lines.Add(TString(text.substr(start)));
    TMemBuffer entry;
    lines.WriteToMemBuffer(entry);
    return entry;
}

inline TMemBuffer PictureEntry(TMemBitmap& picture) {
    TMemBuffer entry;
    picture.WriteToMemBuffer(entry);
    return entry;
}

// A picture of one colour: 24 bits, 8 bits through palette entry 1, or 24
// bits carried as a JPEG payload.
enum class Kind { Dib24, Dib8, Jpeg };
inline TMemBuffer SolidPicture(Kind kind, int width, int height, COLORREF colour) {
    TMemBitmap picture;
    picture.NewBitmap(width, height, kind == Kind::Dib8 ? 8 : 24);
    if (kind == Kind::Dib8) picture.SetPaletteEntry(1, GetRValue(colour), GetGValue(colour), GetBValue(colour));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetPixel(x, y, kind == Kind::Dib8 ? 1 : static_cast<int>(colour));
    picture.Refresh();
    if (kind == Kind::Jpeg) {
        picture.IsJpeg = 1;
        picture.JpegQuality = 95;
    }
    return PictureEntry(picture);
}

inline TMemBuffer MapPicture() {
    TMemBitmap picture;
    picture.NewBitmap(120, 40, 24);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) picture.SetPixel(x, y, static_cast<int>(x < 60 ? kMapLeft : kMapRight));
    picture.Refresh();
    return PictureEntry(picture);
}

inline TMemBuffer MapLinksEntry() {
    TImageLinks links;
    TImageLink* left = links.NewItem();
    left->polygon.Add(POINT{0, 0}, POINT{59, 0}, POINT{59, 39}, POINT{0, 39});
    left->target = "pictures.vgt";
    left->targetPanel = "page";
    TImageLink* right = links.NewItem();
    right->polygon.Add(POINT{60, 0}, POINT{119, 0}, POINT{119, 39}, POINT{60, 39});
    right->target = "index.vgt";
    right->targetPanel = "main";
    TMemBuffer entry;
    links.WriteToMemBuffer(entry);
    return entry;
}

inline TMemBuffer TopicsEntry() {
    TTopics topics;
    std::string list = kTopicList;
    for (size_t start = 0, end; (end = list.find('\n', start)) != std::string::npos; start = end + 1)
        TTopics::ReadTopicLine(TString(list.substr(start, end - start)), *topics.NewItem());
    TMemBuffer entry;
    topics.WriteToMemBuffer(entry);
    return entry;
}

// The archive; every entry packed but "defaultname".
inline void Build(TMemResource& archive) {
    const struct {
        const char* name;
        const char* text;
    } topics[] = {{"index.vgt", kIndex}, {"frame.vgt", kFrame},       {"map.vgt", kMap},
                  {"page.vgt", kPage},   {"pictures.vgt", kPictures}, {"forms.vgt", kForms}};
    for (const auto& topic : topics) archive.AddBuffer(TString(topic.name), LinesEntry(topic.text));
    archive.AddBuffer(TString("red.bmp"), SolidPicture(Kind::Dib24, kPictureWidth, kPictureHeight, kRed));
    archive.AddBuffer(TString("blue.bmp"), SolidPicture(Kind::Dib8, kPictureWidth, kPictureHeight, kBlue));
    archive.AddBuffer(TString("green.jpg"), SolidPicture(Kind::Jpeg, kPictureWidth, kPictureHeight, kGreen));
    archive.AddBuffer(TString("map.bmp"), MapPicture());
    archive.AddBuffer(TString("map.ald"), MapLinksEntry());
    archive.AddBuffer(TString("topics"), TopicsEntry());
    TMemBuffer defaultName;
    TString("index.vgt").WriteToMemBuffer(defaultName);
    archive.AddBuffer(TString("defaultname"), defaultName, false);
}

}  // namespace help_archive
