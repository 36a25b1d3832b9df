// The tag-content reader of the markup parser: names, "=", quoted and unquoted values, and the
// operators "*", "+", "/" and "-" that join value tokens into segments.
#include "markup/tag_reader.h"

#include <map>

namespace {

bool is_separator(char16_t c) {
    return c == u' ' || c == u'\n';
}

bool is_name_char(char16_t c) {
    return c == u'_' || (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') ||
           (c >= u'a' && c <= u'z');
}

bool is_token_char(char16_t c) {
    return c == u'$' || c == u'.' || is_name_char(c);
}

bool is_quote(char16_t c) {
    return c == u'"' || c == u'\'';
}

// Operators that may stand anywhere after a value token; "-" counts only after a token, before
// one it is the token's sign.
bool is_leading_operator(char16_t c) {
    return c == u'*' || c == u'+' || c == u'/';
}

String character_report(const char16_t* what, char16_t c) {
    return String(what) + u" asc='" + bb_itos(c) + u"' chr='" + String(1, c) + u"'";
}

class TagReader {
public:
    TagReader(const String& text, size_t begin, size_t end, c_ConfigNode& node)
        : m_text(text), m_pos(begin), m_end(end), m_node(node) {}

    std::optional<MarkupSyntaxError> read() {
        while (m_pos < m_end) {
            if (auto error = step(m_text[m_pos]))
                return error;
        }
        // An error at the end of the content points at its last character.
        const size_t last = m_end > 0 ? m_end - 1 : 0;
        if (m_state == State::ValueStart)
            return MarkupSyntaxError{u"expecting attribute value", last};
        if (m_state == State::AfterOperator)
            return MarkupSyntaxError{u"unexcpected end of attribute", last};
        return std::nullopt;
    }

private:
    enum class State {
        Item,          // a name or "=" may come (a bare name is ignored)
        AfterName,     // an attribute name was read; "=" may follow
        ValueStart,    // after "=", before any part of the value
        AfterValue,    // after a token or quoted value: an operator or the next name may follow
        AfterOperator, // after an operator: the value must continue with a token
    };

    std::optional<MarkupSyntaxError> step(char16_t c) {
        if (is_separator(c)) {
            ++m_pos;
            return std::nullopt;
        }
        switch (m_state) {
        case State::Item:
        case State::AfterName:
            return name_or_equals(c);
        case State::ValueStart:
            if (is_quote(c))
                return quoted_value(c);
            return token_or_error(c);
        case State::AfterValue:
            if (is_leading_operator(c) || c == u'-')
                return operator_segment(c);
            if (is_name_char(c))
                return name_or_equals(c);
            if (is_quote(c))
                return error(u"unexpected opening quote");
            return illegal(c);
        case State::AfterOperator:
            if (is_quote(c))
                return error(u"unexpected opening quote");
            return token_or_error(c);
        }
        return std::nullopt;
    }

    std::optional<MarkupSyntaxError> name_or_equals(char16_t c) {
        if (is_name_char(c)) {
            String name = read_while(is_name_char);
            if (!m_haveElementName) {
                m_node.m_name = bb_lower(name);
                m_haveElementName = true;
                m_state = State::Item;
            } else {
                m_attributeName = std::move(name);
                m_state = State::AfterName;
            }
            return std::nullopt;
        }
        if (c == u'=') {
            if (m_state != State::AfterName)
                return error(u"expecting tag or attribute name");
            ++m_pos;
            m_attribute = nullptr;
            m_state = State::ValueStart;
            return std::nullopt;
        }
        return illegal(c);
    }

    std::optional<MarkupSyntaxError> token_or_error(char16_t c) {
        if (c == u'-' || is_token_char(c)) {
            String token(1, c);
            ++m_pos;
            token += read_while(is_token_char);
            add_segment(token);
            m_state = State::AfterValue;
            return std::nullopt;
        }
        if (is_leading_operator(c))
            return error(character_report(u"unexpected operator", c));
        return illegal(c);
    }

    std::optional<MarkupSyntaxError> quoted_value(char16_t quote) {
        String value;
        for (++m_pos; m_pos < m_end && m_text[m_pos] != quote; ++m_pos) {
            // Line breaks inside a quoted value are not part of it.
            if (m_text[m_pos] != u'\n')
                value += m_text[m_pos];
        }
        if (m_pos >= m_end)
            return MarkupSyntaxError{u"exepcting closing quote", m_end - 1};
        ++m_pos;
        add_segment(value);
        m_state = State::AfterValue;
        return std::nullopt;
    }

    std::optional<MarkupSyntaxError> operator_segment(char16_t c) {
        ++m_pos;
        add_segment(String(1, c));
        m_state = State::AfterOperator;
        return std::nullopt;
    }

    // The first segment creates the attribute (or extends one of the same name read earlier in
    // this tag); later segments of the same value are appended to it. The tag's own index of
    // names keeps a tag with very many attributes linear: the node is new and only this reader
    // gives it attributes.
    void add_segment(const String& segment) {
        if (m_attribute == nullptr) {
            auto [known, isNew] = m_byName.try_emplace(lower_attribute_name(m_attributeName));
            if (isNew) {
                m_node.m_attributes.push_back(
                    std::make_unique<c_ConfigAttribute>(m_attributeName, segment));
                m_attribute = known->second = m_node.m_attributes.back().get();
                return;
            }
            m_attribute = known->second;
        }
        m_attribute->p_AddSegment(segment);
    }

    String read_while(bool (*accept)(char16_t)) {
        size_t start = m_pos;
        while (m_pos < m_end && accept(m_text[m_pos]))
            ++m_pos;
        return m_text.substr(start, m_pos - start);
    }

    std::optional<MarkupSyntaxError> error(String message) const {
        return MarkupSyntaxError{std::move(message), m_pos};
    }

    std::optional<MarkupSyntaxError> illegal(char16_t c) const {
        return error(character_report(u"illegal character", c));
    }

    const String& m_text;
    size_t m_pos;
    size_t m_end;
    c_ConfigNode& m_node;
    State m_state = State::Item;
    bool m_haveElementName = false;
    String m_attributeName;
    c_ConfigAttribute* m_attribute = nullptr;
    std::map<String, c_ConfigAttribute*> m_byName;
};

} // namespace

std::optional<MarkupSyntaxError> read_tag_content(const String& text, size_t begin, size_t end,
                                                  c_ConfigNode& node) {
    return TagReader(text, begin, end, node).read();
}
