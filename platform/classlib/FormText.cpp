// The form text's lexer and recursive parser.
#include "FormText.h"

#include <cctype>

#include "Exceptions.h"
#include "PropertyTable.h"

namespace {

constexpr int kMaximumDepth = 64;

// An Error token carries what is wrong as its text; the parser reports it
// where it meets it, naming the property when it stands in a value.
enum class TTokenKind { End, Identifier, String, Number, Symbol, Error };

struct TToken {
    TTokenKind kind = TTokenKind::End;
    std::string text;
    int line = 1;
};

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }
// A number is taken whole, up to a blank or a symbol (1.5, .5, -2e-3, $FF,
// -inf, and damaged ones such as --1 or 1-2): the property it is given to
// decides whether it is a value, and names itself when it is not.
bool IsNumberStart(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '$' || c == '-' || c == '+' || c == '.';
}
bool IsNumberPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || IsNumberStart(c); }

class TFormParser {
public:
    explicit TFormParser(const std::string& text) : text_(text) { Advance(); }

    TFormObject ParseRoot() {
        TFormObject root = ParseObject(0);
        if (token_.kind != TTokenKind::End) Fail("text after the end of the root object");
        return root;
    }

private:
    // What is wrong at the current token: its own error, if it is one.
    [[noreturn]] void Fail(const std::string& what) const {
        FailAt(token_.line, token_.kind == TTokenKind::Error ? token_.text : what);
    }
    [[noreturn]] void FailAt(int line, const std::string& what) const {
        throw EReadError("Form text line " + std::to_string(line) + ": " + what);
    }

    void SkipBlanks() {
        while (position_ < text_.size()) {
            char c = text_[position_];
            if (c == '\n') ++line_;
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
            ++position_;
        }
    }

    void Advance() {
        SkipBlanks();
        token_ = TToken();
        token_.line = line_;
        if (position_ >= text_.size()) return;
        char c = text_[position_];
        if (IsIdentifierStart(c)) {
            token_ = {TTokenKind::Identifier, TakeRun(IsIdentifierPart), line_};
        } else if (c == '\'' || c == '#') {
            token_ = ReadString();
        } else if (IsNumberStart(c)) {
            token_ = {TTokenKind::Number, TakeRun(IsNumberPart), line_};
        } else if (c == ':' || c == '=' || c == '[' || c == ']' || c == ',') {
            token_ = {TTokenKind::Symbol, std::string(1, c), line_};
            ++position_;
        } else {
            token_ = {TTokenKind::Error, "unexpected character code " + std::to_string(static_cast<unsigned char>(c)),
                      line_};
            ++position_;
        }
    }

    std::string TakeRun(bool (*part)(char)) {
        std::size_t start = position_;
        while (position_ < text_.size() && part(text_[position_])) ++position_;
        return text_.substr(start, position_ - start);
    }

    // 'quoted' parts ('' is a quote) and #nn character codes, side by side.
    TToken ReadString() {
        std::string value;
        auto error = [this](const std::string& what) { return TToken{TTokenKind::Error, what, line_}; };
        while (position_ < text_.size()) {
            char c = text_[position_];
            if (c == '\'') {
                ++position_;
                while (true) {
                    if (position_ >= text_.size() || text_[position_] == '\n' || text_[position_] == '\r')
                        return error("unterminated string");
                    char inner = text_[position_++];
                    if (inner != '\'') {
                        value += inner;
                    } else if (position_ < text_.size() && text_[position_] == '\'') {
                        value += '\'';
                        ++position_;
                    } else {
                        break;
                    }
                }
            } else if (c == '#') {
                ++position_;
                std::size_t start = position_;
                while (position_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[position_])) &&
                       position_ - start < 4)
                    ++position_;
                if (position_ == start) return error("character code expected after #");
                int code = std::stoi(text_.substr(start, position_ - start));
                if (code > 255) return error("character code " + std::to_string(code) + " out of range");
                value += static_cast<char>(code);
            } else {
                break;
            }
        }
        return TToken{TTokenKind::String, value, line_};
    }

    bool IsSymbol(char symbol) const { return token_.kind == TTokenKind::Symbol && token_.text[0] == symbol; }

    void Expect(char symbol) {
        if (!IsSymbol(symbol)) Fail(std::string("'") + symbol + "' expected");
        Advance();
    }

    std::string ExpectIdentifier(const char* what) {
        if (token_.kind != TTokenKind::Identifier || token_.text.find('.') != std::string::npos)
            Fail(std::string(what) + " expected");
        std::string text = token_.text;
        Advance();
        return text;
    }

    TFormObject ParseObject(int depth) {
        if (depth > kMaximumDepth) Fail("objects nested too deeply");
        TFormObject object;
        object.line = token_.line;
        if (token_.kind == TTokenKind::Identifier && SameIdentifier(token_.text, "inherited"))
            object.inherited = true;
        else if (!(token_.kind == TTokenKind::Identifier && SameIdentifier(token_.text, "object")))
            Fail("'object' or 'inherited' expected");
        Advance();
        object.name = ExpectIdentifier("object name");
        Expect(':');
        object.className = ExpectIdentifier("class name");
        while (true) {
            if (token_.kind == TTokenKind::End) FailAt(object.line, "object " + object.name + " has no 'end'");
            if (token_.kind != TTokenKind::Identifier) Fail("property name expected");
            if (SameIdentifier(token_.text, "end")) {
                Advance();
                return object;
            }
            if (SameIdentifier(token_.text, "object") || SameIdentifier(token_.text, "inherited"))
                object.children.push_back(ParseObject(depth + 1));
            else
                object.properties.push_back(ParseProperty());
        }
    }

    TFormProperty ParseProperty() {
        TFormProperty property;
        property.line = token_.line;
        property.name = token_.text;
        if (property.name.front() == '.' || property.name.back() == '.' ||
            property.name.find("..") != std::string::npos)
            Fail("bad property name " + property.name);
        Advance();
        // E.g. "Ratio = 1.5 abc": the word spoils the value before it.
        if (!IsSymbol('=') && property.line == lastValue_.line)
            FailAt(property.line, "'" + property.name + "' after the value of " + lastValue_.name);
        Expect('=');
        if (IsSymbol('[')) {
            property.kind = TFormValueKind::Set;
            property.value = ParseSet(property);
        } else {
            switch (token_.kind) {
            case TTokenKind::String:
                property.kind = TFormValueKind::String;
                break;
            case TTokenKind::Number:
                property.kind = TFormValueKind::Number;
                break;
            case TTokenKind::Identifier:
                property.kind = TFormValueKind::Identifier;
                break;
            case TTokenKind::Error:
                FailAt(property.line, token_.text + " in the value of " + property.name);
            default:
                Fail("value expected for " + property.name);
            }
            property.value = token_.text;
            Advance();
        }
        // E.g. "Ratio = 1,5" or "Ratio = 1.5 2": say which value it spoils,
        // not just what follows.
        if (token_.line == property.line && token_.kind != TTokenKind::Identifier && token_.kind != TTokenKind::End)
            FailAt(property.line, (token_.kind == TTokenKind::Error ? token_.text : "'" + token_.text + "'") +
                                      " after the value of " + property.name);
        lastValue_ = {property.name, property.line};
        return property;
    }

    std::string ParseSet(const TFormProperty& property) {
        auto fail = [&](const std::string& what) {
            FailAt(property.line, what + " in the value of " + property.name);
        };
        Advance();
        std::string text = "[";
        while (!IsSymbol(']')) {
            if (text.size() > 1) {
                if (!IsSymbol(',')) fail("',' expected");
                Advance();
                text += ", ";
            }
            if (token_.kind != TTokenKind::Identifier || token_.text.find('.') != std::string::npos)
                fail("set element expected");
            text += token_.text;
            Advance();
        }
        Advance();
        return text + "]";
    }

    // The property whose value ended last.
    struct TLastValue {
        std::string name;
        int line = 0;
    };

    const std::string& text_;
    std::size_t position_ = 0;
    int line_ = 1;
    TToken token_;
    TLastValue lastValue_;
};

}  // namespace

TFormObject ParseFormText(const std::string& text) { return TFormParser(text).ParseRoot(); }
