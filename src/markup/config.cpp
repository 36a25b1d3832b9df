// The markup parser's outer scan: character data, comments, finding each tag's end, and the
// stack of open elements that turns opening and closing tags into the tree.
#include "markup/config.h"

#include "markup/tag_reader.h"

namespace {

String normalise_line_ends(const String& text) {
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        out += text[i];
    }
    return out;
}

struct TextPosition {
    int line;
    int column;
};

// Line and column of an index: lines count from 1, each "\n" starts the next one, and the
// column is 1 + the characters since the line began. Queries mostly move forward, so the count
// continues from the last one.
class LineCounter {
public:
    explicit LineCounter(const String& text) : m_text(text) {}

    TextPosition at(size_t index) {
        if (index < m_index) {
            m_index = 0;
            m_line = 1;
            m_lineStart = 0;
        }
        for (; m_index < index; ++m_index) {
            if (m_text[m_index] == u'\n') {
                ++m_line;
                m_lineStart = m_index + 1;
            }
        }
        return {m_line, static_cast<int>(index - m_lineStart + 1)};
    }

private:
    const String& m_text;
    size_t m_index = 0;
    int m_line = 1;
    size_t m_lineStart = 0;
};

class DocumentParser {
public:
    explicit DocumentParser(c_Config& document)
        : m_doc(document), m_text(document.m_text), m_lines(m_text) {}

    bool run() {
        const size_t n = m_text.size();
        size_t i = 0;
        bool inComment = false;
        while (i < n) {
            if (inComment) {
                // A comment closes only when something follows its "-->".
                if (i + 3 < n && m_text.compare(i, 3, u"-->") == 0) {
                    inComment = false;
                    i += 3;
                } else {
                    ++i;
                }
            } else if (m_text[i] != u'<') {
                m_characterData += m_text[i++];
            } else if (n - i >= 5 && m_text.compare(i, 4, u"<!--") == 0) {
                inComment = true;
                i += 4;
            } else if (!tag(i)) {
                return false;
            }
        }
        if (!m_open.empty())
            return fail_at_end(u"unexpected end of file");
        return true;
    }

private:
    // Reads the tag starting at the "<" at `start`; on success moves `start` past its ">".
    bool tag(size_t& start) {
        const size_t n = m_text.size();
        const bool closing = start + 1 < n && m_text[start + 1] == u'/';
        const size_t nameStart = start + (closing ? 2 : 1);
        char16_t quote = 0;
        size_t end = start + 1;
        for (; end < n; ++end) {
            const char16_t c = m_text[end];
            if (quote != 0) {
                if (c == quote)
                    quote = 0;
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'<') {
                return fail(u"unexpected opening bracket", m_lines.at(end));
            } else if (c == u'>') {
                break;
            }
        }
        if (end == n)
            return fail_at_end(quote ? u"expecting ending quote" : u"expecting ending bracket");

        // A "/" before ">" ends the content. It makes an opening tag self-closing; a closing tag
        // stays a closing tag ("</a/>" closes a), and in "</>" the one slash marks the closing.
        const bool slashBeforeEnd = end - 1 >= nameStart && m_text[end - 1] == u'/';
        const bool selfClosing = slashBeforeEnd && !closing;
        const size_t contentEnd = slashBeforeEnd ? end - 1 : end;

        top()->m_value += m_characterData;
        m_characterData.clear();
        auto node = std::make_unique<c_ConfigNode>(String());
        const TextPosition where = m_lines.at(start);
        node->m_line = where.line;
        node->m_column = where.column;
        if (auto error = read_tag_content(m_text, nameStart, contentEnd, *node))
            return fail(error->message, m_lines.at(error->index));

        if (closing) {
            if (!close(std::move(node), where))
                return false;
        } else if (selfClosing) {
            top()->p_AddChild(std::move(node));
        } else {
            node->m_parent = top();
            m_open.push_back(std::move(node));
        }
        start = end + 1;
        return true;
    }

    bool close(std::unique_ptr<c_ConfigNode> closingTag, TextPosition where) {
        const String& name = closingTag->m_name;
        if (m_open.empty()) {
            // Only the document itself is open: it has no parent to be closed into.
            if (name == m_doc.m_name)
                return fail(u"unexpected closing tag '" + name + u"'", where);
            return fail(mismatch(m_doc.m_name, name), where);
        }
        std::unique_ptr<c_ConfigNode> element = std::move(m_open.back());
        m_open.pop_back();
        if (element->m_name != name)
            return fail(mismatch(element->m_name, name), where);
        top()->p_AddChild(std::move(element));
        return true;
    }

    static String mismatch(const String& openName, const String& closeName) {
        return u"open tag name '" + openName + u"' doesn't match closing tag name '" + closeName +
               u"'";
    }

    c_ConfigNode* top() { return m_open.empty() ? &m_doc : m_open.back().get(); }

    bool fail(const String& message, TextPosition where) {
        return m_doc.p_SetError(message, where.line, where.column, String());
    }

    // Errors at the end of the text point at its last character.
    bool fail_at_end(const String& message) { return fail(message, m_lines.at(m_text.size() - 1)); }

    c_Config& m_doc;
    const String& m_text;
    LineCounter m_lines;
    // Open elements below the document, innermost last. They own themselves until closed.
    std::vector<std::unique_ptr<c_ConfigNode>> m_open;
    String m_characterData;
};

} // namespace

bool c_Config::p_Parse(const String& text) {
    m_name = u"root";
    m_text = normalise_line_ends(text);
    m_error.reset();
    if (m_text.size() < 2)
        return true;
    return DocumentParser(*this).run();
}

bool c_Config::p_SetError(const String& message, int line, int column, const String& context) {
    m_error = std::make_unique<c_ConfigError>(message, m_sourceName, context, line, column);
    m_attributes.clear();
    m_children.clear();
    return false;
}

std::unique_ptr<c_Config> bb_config_LoadConfig(const String& text) {
    auto document = std::make_unique<c_Config>();
    document->p_Parse(text);
    return document;
}
