// The form text's lexer and recursive parser.
#include "FormText.h"

#include <cctype>

#include "Exceptions.h"
#include "PropertyTable.h"

namespace {

constexpr int kMaximumDepth = 64;

enum class TTokenKind { End, Identifier, String, Number, Symbol };

struct TToken {
    TTokenKind kind = TTokenKind::End;
    std::string text;
    int line = 1;
};

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

class TFormParser {
public:
    explicit TFormParser(const std::string& text) : text_(text) { Advance(); }

    TFormObject ParseRoot() {
        TFormObject root = ParseObject(0);
        if (token_.kind != TTokenKind::End) Fail("text after the end of the root object");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw EReadError("Form text line " + std::to_string(token_.line) + ": " + what);
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
            std::size_t start = position_;
            while (position_ < text_.size() && IsIdentifierPart(text_[position_])) ++position_;
            token_ = {TTokenKind::Identifier, text_.substr(start, position_ - start), line_};
        } else if (c == '\'' || c == '#') {
            token_ = {TTokenKind::String, ReadString(), line_};
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' || c == '-') {
            std::size_t start = position_++;
            if (c == '$')
                while (position_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[position_])))
                    ++position_;
            else
                SkipDecimalNumber();
            token_ = {TTokenKind::Number, text_.substr(start, position_ - start), line_};
        } else if (c == ':' || c == '=' || c == '[' || c == ']' || c == ',') {
            token_ = {TTokenKind::Symbol, std::string(1, c), line_};
            ++position_;
        } else {
            FailAt(line_, "unexpected character code " + std::to_string(static_cast<unsigned char>(c)));
        }
    }

    // The rest of a decimal number, integer or real (1.5, 2e-3, -inf), taken
    // whole: letters, digits, points, and a sign after an exponent's e. The
    // property it is given to decides whether it is a value.
    void SkipDecimalNumber() {
        while (position_ < text_.size()) {
            char c = text_[position_];
            bool sign = (c == '+' || c == '-') && (text_[position_ - 1] == 'e' || text_[position_ - 1] == 'E');
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_' && !sign) break;
            ++position_;
        }
    }

    // 'quoted' parts ('' is a quote) and #nn character codes, side by side.
    std::string ReadString() {
        std::string value;
        while (position_ < text_.size()) {
            char c = text_[position_];
            if (c == '\'') {
                ++position_;
                while (true) {
                    if (position_ >= text_.size() || text_[position_] == '\n' || text_[position_] == '\r')
                        FailAt(line_, "unterminated string");
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
                if (position_ == start) FailAt(line_, "character code expected after #");
                int code = std::stoi(text_.substr(start, position_ - start));
                if (code > 255) FailAt(line_, "character code " + std::to_string(code) + " out of range");
                value += static_cast<char>(code);
            } else {
                break;
            }
        }
        return value;
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
        Expect('=');
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
        default:
            if (IsSymbol('[')) {
                property.kind = TFormValueKind::Set;
                property.value = ParseSet();
                return property;
            }
            Fail("value expected for " + property.name);
        }
        property.value = token_.text;
        Advance();
        // E.g. "Ratio = 1,5": say which value it spoils, not just what follows.
        if (token_.kind == TTokenKind::Symbol && token_.line == property.line)
            Fail("'" + token_.text + "' after the value of " + property.name);
        return property;
    }

    std::string ParseSet() {
        Advance();
        std::string text = "[";
        while (!IsSymbol(']')) {
            if (text.size() > 1) {
                Expect(',');
                text += ", ";
            }
            text += ExpectIdentifier("set element");
        }
        Advance();
        return text + "]";
    }

    const std::string& text_;
    std::size_t position_ = 0;
    int line_ = 1;
    TToken token_;
};

}  // namespace

TFormObject ParseFormText(const std::string& text) { return TFormParser(text).ParseRoot(); }
