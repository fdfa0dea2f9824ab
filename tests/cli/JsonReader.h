#pragma once

// A small, strict JSON reader for checking what vantor-route prints: any
// fault in the text makes read() answer nothing.

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

struct Json {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;

    bool operator==(const Json&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Json& json) {
    switch (json.kind) {
    case Json::Kind::Null:
        return out << "null";
    case Json::Kind::Boolean:
        return out << (json.boolean ? "true" : "false");
    case Json::Kind::Number:
        return out << json.number;
    case Json::Kind::String:
        return out << '"' << json.text << '"';
    case Json::Kind::Array:
        out << '[';
        for (const Json& item : json.items) {
            out << item << ' ';
        }
        return out << ']';
    case Json::Kind::Object:
        out << '{';
        for (const auto& [key, value] : json.members) {
            out << key << ": " << value << ' ';
        }
        return out << '}';
    }
    return out;
}

class JsonReader {
public:
    static std::optional<Json> read(std::string_view text) {
        JsonReader reader(text);
        Json json;
        if (!reader.value(json)) {
            return std::nullopt;
        }
        reader.blanks();
        return reader.at_ == text.size() ? std::optional<Json>(json) : std::nullopt;
    }

private:
    explicit JsonReader(std::string_view text)
        : text_(text) {}

    void blanks() {
        while (at_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
    }

    bool take(char c) {
        blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool word(std::string_view w) {
        if (text_.substr(at_, w.size()) != w) {
            return false;
        }
        at_ += w.size();
        return true;
    }

    bool value(Json& json) {
        blanks();
        if (at_ == text_.size()) {
            return false;
        }
        const char c = text_[at_];
        if (c == '"') {
            json.kind = Json::Kind::String;
            return string(json.text);
        }
        if (c == '[' || c == '{') {
            return c == '[' ? array(json) : object(json);
        }
        if (word("null")) {
            return true;
        }
        if (word("true") || word("false")) {
            json.kind = Json::Kind::Boolean;
            json.boolean = c == 't';
            return true;
        }
        std::size_t end = at_;
        while (end < text_.size() &&
               std::string_view("+-.0123456789eE").find(text_[end]) != std::string_view::npos) {
            ++end;
        }
        if (end == at_) {
            return false;
        }
        json.kind = Json::Kind::Number;
        json.number = std::stod(std::string(text_.substr(at_, end - at_)));
        at_ = end;
        return true;
    }

    bool array(Json& json) {
        json.kind = Json::Kind::Array;
        ++at_;
        if (take(']')) {
            return true;
        }
        do {
            json.items.emplace_back();
            if (!value(json.items.back())) {
                return false;
            }
        } while (take(','));
        return take(']');
    }

    bool object(Json& json) {
        json.kind = Json::Kind::Object;
        ++at_;
        if (take('}')) {
            return true;
        }
        do {
            std::string key;
            blanks();
            if (!string(key) || !take(':') || json.members.contains(key) ||
                !value(json.members[key])) {
                return false;
            }
        } while (take(','));
        return take('}');
    }

    bool string(std::string& out) {
        if (at_ >= text_.size() || text_[at_] != '"') {
            return false;
        }
        for (++at_; at_ < text_.size(); ++at_) {
            const char c = text_[at_];
            if (c == '"') {
                ++at_;
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c != '\\') {
                out.push_back(c);
            } else if (!escape(out)) {
                return false;
            }
        }
        return false;
    }

    // Characters below U+0800 are all a test here needs from \u.
    bool escape(std::string& out) {
        if (++at_ >= text_.size()) {
            return false;
        }
        const char c = text_[at_];
        const std::string_view plain("\"\\/bfnrt");
        const std::string_view meant("\"\\/\b\f\n\r\t");
        if (const auto i = plain.find(c); i != std::string_view::npos) {
            out.push_back(meant[i]);
            return true;
        }
        if (c != 'u' || at_ + 4 >= text_.size()) {
            return false;
        }
        const unsigned code =
            static_cast<unsigned>(std::stoul(std::string(text_.substr(at_ + 1, 4)), nullptr, 16));
        at_ += 4;
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            return false;
        }
        return true;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};
