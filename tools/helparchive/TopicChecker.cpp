// TTopicChecker: a measure pass over a help topic that notes its references
// and the first problem it finds.
#include "TopicChecker.h"

#include "SourceWords.h"
#include "VGTParser.h"

namespace {

// ORDER: none; the parse errors of the markup and what they mean.
const struct {
    int code;
    const char* message;
} kParseErrors[] = {
    {tteNestedTag, "a '<' inside a tag"},
    {tteEmptyTag, "an empty tag, an empty tag name or a '>' outside a tag"},
    {tteEmptyValue, "an empty value after '='"},
    {vgtParameterNotAllowed, "a parameter on a tag that takes none"},
    {vgtParameterMissing, "a tag without the parameter it needs"},
};

// The layout width of the viewer's document panel, less its margins.
constexpr int kLayoutRight = 225;

}  // namespace

TTopicChecker::TTopicChecker() : fDC(CreateCompatibleDC(nullptr)) {}

TTopicChecker::~TTopicChecker() { DeleteDC(fDC); }

void TTopicChecker::Check(const THelpSource& source) {
    TStringContainer lines = source.AsStringContainer();
    AssignSource(lines);
    SetCollectLinks(true);
    SetAllowForms(true);
    int height = 0, maxWidth = kLayoutRight;
    MeasureTopic(fDC, 8, 8, kLayoutRight, height, maxWidth, true, false);
    if (fProblemLine > 0) source.Fail(fProblemLine, fProblem);
}

void TTopicChecker::Problem(const std::string& message) {
    if (fProblemLine > 0) return;
    fProblemLine = Line();
    fProblem = message;
}

void TTopicChecker::Note(TReferenceKind kind, const TString& name, const TString& panel) {
    fReferences.push_back(TReference{kind, name.str(), panel.str(), Line()});
}

void TTopicChecker::LoadImage(const TString& name, TMemBitmap& bitmap) {
    Note(rkPicture, name, TString());
    bitmap.NewBitmap(1, 1, 24);
}

void TTopicChecker::LoadImageLinks(const TString& name, TImageLinks&) { Note(rkLinkFile, name, TString()); }

COLORREF TTopicChecker::ParseColor(const TString& text) {
    if (!IsColourText(text.str())) Problem("'" + text.str() + "' is no colour of six hexadecimal digits RRGGBB");
    return TVGTVisualizer::ParseColor(text);
}

void TTopicChecker::ParseUnknownTag(const TString& name, const TString&, bool closing) {
    Problem("unknown tag <" + std::string(closing ? "/" : "") + name.str() + ">");
}

void TTopicChecker::ParseError(int code) {
    std::string message = "parse error " + std::to_string(code);
    for (const auto& error : kParseErrors)
        if (error.code == code) message = error.message;
    Problem(message);
    TVGTVisualizer::ParseError(code);
}

void TTopicChecker::DoLink(const TString& parameter, bool closing) {
    TVGTVisualizer::DoLink(parameter, closing);
    if (closing || GetLinks().GetCount() == 0) return;
    const TLinkItem& link = GetLinks()[GetLinks().GetCount() - 1];
    Note(rkTopic, link.target, link.targetPanel);
}

void TTopicChecker::DoPanel(const TString& parameter) {
    TVGTVisualizer::DoPanel(parameter);
    const TPanelInfo& panel = GetPanels()[GetPanels().GetCount() - 1];
    Note(rkTopic, panel.source, TString());
    fPanelNames.push_back(TDeclaration{panel.name.str(), Line()});
}

void TTopicChecker::DoForm(const TString& parameter) {
    TVGTVisualizer::DoForm(parameter);
    fFormNames.push_back(TDeclaration{GetForms()[GetForms().GetCount() - 1].name.str(), Line()});
}
