// The markup parser: documents and the tree or error they give, node positions, path searches
// and the attribute operations.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "markup/config.h"
#include "markup/tag_reader.h"

namespace {

// Shows "\n", "\r" and "\t" visibly so a tree fits on one line.
std::string visible(const String& text) {
    std::string out;
    for (char c : bb_narrow(text)) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

// name[attr=segment|segment ...]"value"{child child}
std::string dump(const c_ConfigNode& node) {
    std::string out = bb_narrow(node.m_name);
    if (!node.m_attributes.empty()) {
        out += '[';
        for (size_t i = 0; i < node.m_attributes.size(); ++i) {
            const c_ConfigAttribute& a = *node.m_attributes[i];
            String joined;
            for (const String& s : a.m_segments)
                joined += s;
            EXPECT_EQ(a.m_value, joined) << "value is not the concatenation of its segments";
            out += (i ? " " : "") + bb_narrow(a.m_name) + "=";
            for (size_t k = 0; k < a.m_segments.size(); ++k)
                out += (k ? "|" : "") + visible(a.m_segments[k]);
        }
        out += ']';
    }
    if (!node.m_value.empty())
        out += "\"" + visible(node.m_value) + "\"";
    if (!node.m_children.empty()) {
        out += '{';
        for (size_t i = 0; i < node.m_children.size(); ++i) {
            EXPECT_EQ(node.m_children[i]->m_parent, &node);
            out += (i ? " " : "") + dump(*node.m_children[i]);
        }
        out += '}';
    }
    return out;
}

struct Case {
    const char* text;
    const char* tree;            // expected tree, or null when the document has an error
    const char* error = nullptr; // expected message
    int line = 0;
    int column = 0;
};

const Case kCases[] = {
    // Well-formed documents.
    {"", "root"},
    {"<", "root"},
    {"x", "root"},
    {"ab", "root"}, // text after the last tag is dropped
    {"<TextureAtlas imagePath=\"a.png\"><SubTexture name=\"x\" x=\"1\"/></TextureAtlas>",
     "root{textureatlas[imagepath=a.png]{subtexture[name=x x=1]}}"},
    {"<a>hello<b/>world</a>", "root{a\"helloworld\"{b}}"},
    {" <a/>tail", "root\" \"{a}"},
    {"<a><b/><c></c></a><d/>", "root{a{b c} d}"}, // children in the order they close
    {"<A><B/></a>", "root{a{b}}"},
    {"<a x=\"line1\nline2\"/>", "root{a[x=line1line2]}"},
    {"<a>x<!-- <b> -->y</a>", "root{a\"xy\"}"},
    {"<!-- x --><a/>", "root{a}"},
    {"<a/><!---->", "root{a}"}, // a comment left open at the end is no error
    {"<a>\r\n<b\r\nx=\"1\"/>\r\n</a>", "root{a\"\\n\\n\"{b[x=1]}}"},
    {"<a>\t\r</a>", "root{a\"\\t\\r\"}"},
    {"<a x=\"1\" x=\"2\"/>", "root{a[x=1|2]}"},
    {"<a b = 1 + 2/>", "root{a[b=1|+|2]}"},
    {"<a v=2*3/4 w=2 *3/>", "root{a[v=2|*|3|/|4 w=2|*|3]}"},
    {"<a v=$x.y_1 n=-5 m=5 - -3 s=- />", "root{a[v=$x.y_1 n=-5 m=5|-|-3 s=-]}"},
    {"<a v=5-3 name=foo-bar/>", "root{a[v=5|-|3 name=foo|-|bar]}"}, // "-" right after a token
    {"<a x=\"q\"+b/>", "root{a[x=q|+|b]}"},
    {"<a flag b=1 c/>", "root{a[b=1]}"}, // names without "=" are ignored
    {"<a x='say \"hi\"' y=\"it's\" z=\"\" w=\"1>2\"/>", "root{a[x=say \"hi\" y=it's z= w=1>2]}"},
    {"<a\n x\n =\n 1\n/>", "root{a[x=1]}"},
    {"<a></a/>", "root{a}"},
    {"<root></root>", "root{root}"},

    // Errors: message, line, column.
    {"<a><b>", nullptr, "unexpected end of file", 1, 6},
    {"<a>\n", nullptr, "unexpected end of file", 1, 4},
    {"<a></b>", nullptr, "open tag name 'a' doesn't match closing tag name 'b'", 1, 4},
    {"<a>\r\n<b>\r\n</C>", nullptr, "open tag name 'b' doesn't match closing tag name 'c'", 3, 1},
    {"<a/></b>", nullptr, "open tag name 'root' doesn't match closing tag name 'b'", 1, 5},
    {"</root>", nullptr, "unexpected closing tag 'root'", 1, 1},
    {"<a/>\n  </ROOT>", nullptr, "unexpected closing tag 'root'", 2, 3},
    {"<a x=#/>", nullptr, "illegal character asc='35' chr='#'", 1, 6},
    {"<?xml version=\"1.0\"?>", nullptr, "illegal character asc='63' chr='?'", 1, 2},
    {"<a\tx=\"1\"/>", nullptr, "illegal character asc='9' chr='\t'", 1, 3},
    {"<a\rx=\"1\"/>", nullptr, "illegal character asc='13' chr='\r'", 1, 3},
    {"<a x==1/>", nullptr, "illegal character asc='61' chr='='", 1, 6},
    {"<a x=1 =2/>", nullptr, "illegal character asc='61' chr='='", 1, 8},
    {"<a b#/>", nullptr, "illegal character asc='35' chr='#'", 1, 5},
    {"<a <b>", nullptr, "unexpected opening bracket", 1, 4},
    {"<a>\n<b x='<'\n <c>", nullptr, "unexpected opening bracket", 3, 2},
    {"<a =1/>", nullptr, "expecting tag or attribute name", 1, 4},
    {"<a=1/>", nullptr, "expecting tag or attribute name", 1, 3},
    {"<a x=*2/>", nullptr, "unexpected operator asc='42' chr='*'", 1, 6},
    {"<a x=1+/2/>", nullptr, "unexpected operator asc='47' chr='/'", 1, 8},
    {"<a x=1 \"2\"/>", nullptr, "unexpected opening quote", 1, 8},
    {"<a x=1+\"2\"/>", nullptr, "unexpected opening quote", 1, 8},
    {"<a x=/>", nullptr, "expecting attribute value", 1, 5},
    {"<a x= \n>", nullptr, "expecting attribute value", 1, 7},
    {"<a x=1+>", nullptr, "unexcpected end of attribute", 1, 7},
    {"<a x=\"1>", nullptr, "expecting ending quote", 1, 8},
    {"<a x=\"1\"", nullptr, "expecting ending bracket", 1, 8},
    {"<a>\n<b", nullptr, "expecting ending bracket", 2, 2},
    {"x<!--", nullptr, "expecting ending bracket", 1, 5},
    {"<a/><b><c/></b><d>", nullptr, "unexpected end of file", 1, 18},
};

TEST(MarkupParser, DocumentsGiveTheirTreeOrTheirError) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(visible(bb_str(c.text)));
        auto doc = bb_config_LoadConfig(bb_str(c.text));
        if (c.tree != nullptr) {
            EXPECT_EQ(doc->m_error, nullptr)
                << (doc->m_error ? bb_narrow(doc->m_error->m_message) : "");
            EXPECT_EQ(dump(*doc), c.tree);
        } else {
            ASSERT_NE(doc->m_error, nullptr) << dump(*doc);
            EXPECT_EQ(bb_narrow(doc->m_error->m_message), c.error);
            EXPECT_EQ(doc->m_error->m_line, c.line);
            EXPECT_EQ(doc->m_error->m_column, c.column);
            EXPECT_TRUE(doc->m_error->m_context.empty());
            // The document is emptied: searches find nothing.
            EXPECT_TRUE(doc->m_children.empty());
            EXPECT_TRUE(doc->m_attributes.empty());
            EXPECT_EQ(doc->p_FindNodeByPath(u"a"), nullptr);
        }
    }
}

TEST(MarkupParser, ParseReportsSuccessAndCopiesTheSourceNameIntoErrors) {
    c_Config doc;
    doc.m_sourceName = u"Sprites.xml";
    EXPECT_TRUE(doc.p_Parse(u"<a>\r\n</a>"));
    EXPECT_EQ(doc.m_text, u"<a>\n</a>");
    EXPECT_FALSE(doc.p_Parse(u"<b>"));
    ASSERT_NE(doc.m_error, nullptr);
    EXPECT_EQ(doc.m_error->m_sourceName, u"Sprites.xml");
    EXPECT_TRUE(doc.m_children.empty());
}

TEST(MarkupParser, NodesKnowWhereTheirTagStarted) {
    for (const char* text : {"<a>\n  <b/>\n\t<c></c></a>", "<a>\r\n  <b/>\r\n\t<c></c></a>"}) {
        auto doc = bb_config_LoadConfig(bb_str(text));
        c_ConfigNode* a = doc->p_FindNodeByPath(u"a");
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->m_line, 1);
        EXPECT_EQ(a->m_column, 1);
        ASSERT_EQ(a->m_children.size(), 2u);
        EXPECT_EQ(a->m_children[0]->m_line, 2);
        EXPECT_EQ(a->m_children[0]->m_column, 3);
        EXPECT_EQ(a->m_children[1]->m_line, 3);
        EXPECT_EQ(a->m_children[1]->m_column, 2);
        EXPECT_EQ(a->m_parent, doc.get());
        EXPECT_EQ(doc->m_parent, nullptr);
    }
}

TEST(MarkupParser, TagReaderReportsAQuoteLeftOpenAtTheEndOfItsContent) {
    // The document scan pairs quotes before a tag is read, so only a direct read can cut one.
    c_ConfigNode node(u"");
    auto error = read_tag_content(u"a x=\"12>", 0, 6, node);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, u"exepcting closing quote");
    EXPECT_EQ(error->index, 5u);
}

TEST(MarkupParser, DeepNestingNeitherRecursesNorFails) {
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    auto open = bb_config_LoadConfig(bb_str(text));
    ASSERT_NE(open->m_error, nullptr);
    EXPECT_EQ(open->m_error->m_message, u"unexpected end of file");
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    auto closed = bb_config_LoadConfig(bb_str(text));
    EXPECT_EQ(closed->m_error, nullptr);
    EXPECT_NE(closed->p_FindNodeByPath(u"a/a/a/a"), nullptr);
    // Destroying `closed` tears down 200000 levels.
}

TEST(MarkupPaths, FindNodeByPathFollowsTheFirstMatchAtEachStep) {
    auto doc = bb_config_LoadConfig(
        u"<atlas id=\"1\"><sub n=\"1\"/><sub n=\"2\"><leaf/></sub></atlas><atlas id=\"2\"/>");
    ASSERT_EQ(doc->m_error, nullptr);
    EXPECT_EQ(doc->p_FindNodeByPath(u""), doc.get());
    c_ConfigNode* atlas = doc->p_FindNodeByPath(u"Atlas");
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(atlas->p_GetAttribute(u"ID", u""), u"1");
    c_ConfigNode* sub = doc->p_FindNodeByPath(u"atlas/SUB");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->p_GetAttribute(u"n", u""), u"1");
    // The first "sub" has no children, so the path stops there rather than trying the second.
    EXPECT_EQ(doc->p_FindNodeByPath(u"atlas/sub/leaf"), nullptr);
    for (const char16_t* path : {u"nothing", u"atlas//sub", u"atlas/", u"/atlas", u"atlas/x"})
        EXPECT_EQ(doc->p_FindNodeByPath(path), nullptr) << bb_narrow(path);
    c_ConfigNode leaf(u"leaf");
    EXPECT_EQ(leaf.p_FindNodeByPath(u""), &leaf);
    EXPECT_EQ(leaf.p_FindNodeByPath(u"x"), nullptr);
}

TEST(MarkupPaths, FindNodesByPathCollectsEveryMatchInDocumentOrder) {
    auto doc = bb_config_LoadConfig(
        u"<atlas><sub n=\"1\"/><sub n=\"2\"><leaf n=\"a\"/></sub></atlas>"
        u"<other><sub/></other><atlas><sub n=\"3\"><leaf n=\"b\"/></sub></atlas>");
    ASSERT_EQ(doc->m_error, nullptr);
    auto subs = doc->p_FindNodesByPath(u"Atlas/Sub");
    ASSERT_EQ(subs.size(), 3u);
    EXPECT_EQ(subs[0]->p_GetAttribute(u"n", u""), u"1");
    EXPECT_EQ(subs[1]->p_GetAttribute(u"n", u""), u"2");
    EXPECT_EQ(subs[2]->p_GetAttribute(u"n", u""), u"3");
    auto leaves = doc->p_FindNodesByPath(u"atlas/sub/leaf");
    ASSERT_EQ(leaves.size(), 2u);
    EXPECT_EQ(leaves[0]->p_GetAttribute(u"n", u""), u"a");
    EXPECT_EQ(leaves[1]->p_GetAttribute(u"n", u""), u"b");
    ASSERT_EQ(doc->p_FindNodesByPath(u"").size(), 1u);
    EXPECT_EQ(doc->p_FindNodesByPath(u"")[0], doc.get());
    for (const char16_t* path : {u"nothing", u"atlas//sub", u"atlas/sub/", u"atlas/x"})
        EXPECT_TRUE(doc->p_FindNodesByPath(path).empty()) << bb_narrow(path);
}

TEST(MarkupAttributes, SetGetAndSegments) {
    c_ConfigNode node(u"Keep");
    EXPECT_EQ(node.m_name, u"Keep"); // a node's name is kept as given
    EXPECT_EQ(node.p_GetConfigAttribute(u"x"), nullptr);
    EXPECT_EQ(node.p_GetAttribute(u"x", u"fallback"), u"fallback");
    c_ConfigAttribute* x = node.p_SetAttribute(u"ImagePath", u"a");
    EXPECT_EQ(x->m_name, u"imagepath");
    x->p_AddSegment(u"+");
    x->p_AddSegment(u"b");
    EXPECT_EQ(node.p_GetAttribute(u"IMAGEPATH", u""), u"a+b");
    // Setting an existing attribute replaces its value with one segment.
    EXPECT_EQ(node.p_SetAttribute(u"imagePath", u"c"), x);
    EXPECT_EQ(x->m_segments, std::vector<String>{u"c"});
    EXPECT_EQ(x->m_value, u"c");
    x->m_segments.clear();
    x->p_UpdateValue();
    EXPECT_EQ(x->m_value, u"");
    x->p_SetName(u"Raw");
    EXPECT_EQ(x->m_name, u"Raw");
    EXPECT_EQ(node.m_attributes.size(), 1u);
}

} // namespace

TEST(MarkupParser, TheGameAtlasDescriptionParses) {
    std::ifstream file(SKIDDLEWICK_DATA_DIR "/Graphics/Sprites.xml", std::ios::binary);
    ASSERT_TRUE(file) << "the data folder has no Graphics/Sprites.xml";
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    auto doc = bb_config_LoadConfig(bb_str(bytes));
    ASSERT_EQ(doc->m_error, nullptr)
        << bb_narrow(doc->m_error->m_message) << " at line " << doc->m_error->m_line << ", column "
        << doc->m_error->m_column;
    c_ConfigNode* atlas = doc->p_FindNodeByPath(u"TextureAtlas");
    ASSERT_NE(atlas, nullptr);
    EXPECT_FALSE(atlas->p_GetAttribute(u"imagePath", u"").empty());
    EXPECT_FALSE(doc->p_FindNodesByPath(u"TextureAtlas/SubTexture").empty());
}
