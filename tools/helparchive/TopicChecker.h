// TTopicChecker: checks one help topic by laying it out as the viewer's
// measure pass does, and notes what the topic refers to, with its lines.
#pragma once

#include <string>
#include <vector>

#include "HelpSource.h"
#include "VGTVisualizer.h"

// The topic is read exactly as the viewer reads it (its parser, tag table and
// handlers), with links and forms collected; pictures and link files are not
// loaded but noted. Check stops with the file and line of the first problem
// of the topic itself: an unknown tag (lower case names and blanks before '='
// are unknown tags), a parse error, or a colour that is not six hexadecimal
// digits. Whether the names it refers to exist is the archive's to check.
class TTopicChecker : public TVGTVisualizer {
public:
    enum TReferenceKind { rkTopic, rkPicture, rkLinkFile };
    // A name the topic uses: a link's target (with its target panel), a PANEL
    // source, a picture or a picture's link file.
    struct TReference {
        TReferenceKind kind;
        std::string name;
        std::string panel;
        int line;
    };
    // A PANEL or FORM name the topic declares.
    struct TDeclaration {
        std::string name;
        int line;
    };

    TTopicChecker();
    ~TTopicChecker() override;

    void Check(const THelpSource& source);

    const std::vector<TReference>& GetReferences() const { return fReferences; }
    const std::vector<TDeclaration>& GetPanelNames() const { return fPanelNames; }
    const std::vector<TDeclaration>& GetFormNames() const { return fFormNames; }

    // Noted, and a 1 x 1 picture given, so that the picture's link file is
    // read (and noted) as in the viewer.
    void LoadImage(const TString& name, TMemBitmap& bitmap) override;
    void LoadImageLinks(const TString& name, TImageLinks& links) override;
    COLORREF ParseColor(const TString& text) override;
    void ParseUnknownTag(const TString& name, const TString& value, bool closing) override;
    void ParseError(int code) override;

protected:
    void DoLink(const TString& parameter, bool closing) override;
    void DoPanel(const TString& parameter) override;
    void DoForm(const TString& parameter) override;

private:
    int Line() const { return GetLineIndex() + 1; }
    // Keeps the first problem; the layout runs on to its end or its parse error.
    void Problem(const std::string& message);
    void Note(TReferenceKind kind, const TString& name, const TString& panel);

    HDC fDC;
    int fProblemLine = 0;
    std::string fProblem;
    std::vector<TReference> fReferences;
    std::vector<TDeclaration> fPanelNames;
    std::vector<TDeclaration> fFormNames;
};
