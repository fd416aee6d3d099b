// ctest-label: gametools
#include "gametools/XMLNode.h"

#include "engine/core/Error.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

using namespace GameTools;

namespace {

// document / window / controls, with two "button" children under controls.
struct SmallTree {
    SmallTree() {
        window = new XMLNode("window", &document);
        controls = new XMLNode("controls", window);
        first = new XMLNode("button", controls);
        second = new XMLNode("button", controls);
        first->SetAttribute("name", "ok");
        second->SetAttribute("name", "cancel");
    }
    XMLNode document;
    XMLNode* window;
    XMLNode* controls;
    XMLNode* first;
    XMLNode* second;
};

} // namespace

TEST(XMLNode, EqualNamesAreFoundInDocumentOrderAndFollowMoves) {
    SmallTree tree;
    EXPECT_EQ(tree.controls->GetChild("button", 0), tree.first);

    // Moving the first to the end makes the other one the first of its name.
    tree.controls->AddChild(tree.first);
    EXPECT_EQ(tree.controls->GetChild("button", 0), tree.second);
    ASSERT_EQ(tree.controls->children.size(), 2u);
    EXPECT_EQ(tree.controls->children[1], tree.first);

    std::vector<XMLNode*> found{tree.window};
    tree.controls->GetChildrenByName("button", found);
    EXPECT_EQ(found, (std::vector<XMLNode*>{tree.second, tree.first}));
    tree.controls->GetChildrenByName("slider", found);
    EXPECT_TRUE(found.empty());
}

TEST(XMLNode, AddChildMovesBetweenTreesWithoutDeleting) {
    SmallTree tree;
    XMLNode other;
    other.AddChild(tree.first);
    EXPECT_EQ(tree.first->GetParent(), &other);
    EXPECT_EQ(tree.controls->children, std::vector<XMLNode*>{tree.second});
    EXPECT_EQ(tree.controls->GetChild("button", 0), tree.second);
    EXPECT_EQ(other.GetChild("button", 0), tree.first);
    // The moved node survives its old tree and dies with the new one (ASan reports a leak or double free).
}

TEST(XMLNode, AddingSelfOrAncestorIsIgnored) {
    SmallTree tree;
    tree.controls->AddChild(tree.window);
    tree.controls->AddChild(tree.controls);
    EXPECT_EQ(tree.window->GetParent(), &tree.document);
    EXPECT_EQ(tree.controls->children.size(), 2u);
    EXPECT_EQ(tree.controls->GetPath(), "/window/controls");
}

TEST(XMLNode, DeletingAChildLeavesItsParentConsistent) {
    SmallTree tree;
    delete tree.first;
    EXPECT_EQ(tree.controls->children, std::vector<XMLNode*>{tree.second});
    EXPECT_EQ(tree.controls->GetChild("button", 0), tree.second);

    tree.controls->RemoveChild(tree.second);
    EXPECT_TRUE(tree.controls->children.empty());
    EXPECT_EQ(tree.controls->GetChild("button", 0), nullptr);

    XMLNode stranger("stranger", nullptr);
    tree.controls->RemoveChild(&stranger); // not a child: left alone
    tree.controls->RemoveChild(nullptr);
}

TEST(XMLNode, DeepTreeIsDeletedWithoutRecursion) {
    // Far deeper than any stack would take with one frame per level.
    auto* document = new XMLNode();
    XMLNode* node = document;
    for (int i = 0; i < 200000; ++i)
        node = new XMLNode("n", node);
    EXPECT_EQ(document->children.size(), 1u);
    delete document;
}

TEST(XMLNode, UnnamedChildAddsNothingToPaths) {
    VelmoraTest::TestLog log;
    SmallTree tree;
    XMLNode* unnamed = tree.controls->AddNewChild();
    EXPECT_EQ(unnamed->name, "");
    EXPECT_EQ(unnamed->value.GetMode(), XMLValue::ModeNarrow);
    EXPECT_EQ(tree.controls->GetChild("", 0), unnamed);
    unnamed->GetChild("label", 1);
    EXPECT_TRUE(log.Contains("Failed to find \"/window/controls/label\" node"));
}

TEST(XMLNode, MissingItemsReportBySeverity) {
    struct Case {
        int severity;
        const char* logged; // expected log text, or null for none
        bool throws;
    };
    const Case cases[] = {
        {0, nullptr, false},
        {1, "Warning: Failed to find \"/window/controls/slider\" node!", false},
        {2, "Error: Failed to find \"/window/controls/slider\" node!", false},
        {3, "PROGRAM ABORTING: Failed to find \"/window/controls/slider\" node", true},
        {4, nullptr, false},
        {-1, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.severity);
        VelmoraTest::TestLog log;
        SmallTree tree;
        if (c.throws) {
            try {
                tree.controls->GetChild("slider", c.severity);
                ADD_FAILURE() << "no FatalError";
            } catch (const OrvexEngine::FatalError& error) {
                EXPECT_EQ(error.GetText(), "Failed to find \"/window/controls/slider\" node");
            }
        } else {
            EXPECT_EQ(tree.controls->GetChild("slider", c.severity), nullptr);
        }
        if (c.logged == nullptr)
            EXPECT_EQ(log.Manager().GetEntryCount(), 0u);
        else
            EXPECT_TRUE(log.Contains(c.logged)) << ::testing::PrintToString(log.Texts());
    }
}

TEST(XMLNode, MissingAttributeTextNamesTheNodePath) {
    VelmoraTest::TestLog log;
    SmallTree tree;
    EXPECT_EQ(tree.controls->GetAttribute("size", 2), nullptr);
    EXPECT_TRUE(log.Contains("Failed to find \"size\" attribute in \"/window/controls\" node"));
    EXPECT_EQ(tree.document.GetAttribute("size", 2), nullptr);
    EXPECT_TRUE(log.Contains("Failed to find \"size\" attribute in \"\" node"));
    EXPECT_EQ(tree.document.GetChild("levels", 2), nullptr);
    EXPECT_TRUE(log.Contains("Failed to find \"/levels\" node"));
}

TEST(XMLNode, SetAttributeReplacesValueAndFormInPlace) {
    XMLNode node("n", nullptr);
    node.SetAttribute("a", "1");
    node.SetAttributeWide("b", L"2");
    node.SetAttributeWide("a", L"x");
    ASSERT_EQ(node.attributes.size(), 2u);
    EXPECT_EQ(node.attributes[0]->name, "a");
    EXPECT_EQ(node.attributes[0]->value.GetMode(), XMLValue::ModeWide);
    EXPECT_EQ(node.GetAttribute("a", 0)->AsString(), "x");
    node.SetAttribute("b", "3");
    EXPECT_EQ(node.attributes[1]->value.GetMode(), XMLValue::ModeNarrow);
    EXPECT_EQ(node.GetAttribute("b", 0)->AsInt(), 3);
    EXPECT_TRUE(node.HasAttribute("b"));
    EXPECT_FALSE(node.HasAttribute("B"));
}

TEST(XMLNode, ManyAttributesStayFindableInOrder) {
    XMLNode node("n", nullptr);
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 40; ++i)
            node.SetAttribute("a" + std::to_string(i), std::to_string(i + round * 100));
    ASSERT_EQ(node.attributes.size(), 40u);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(node.attributes[i]->name, "a" + std::to_string(i));
        XMLValue* value = node.GetAttribute("a" + std::to_string(i), 0);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->AsInt(), i + 100);
    }
    EXPECT_EQ(node.FindAttribute("a40"), nullptr);
    EXPECT_EQ(node.FindAttribute(""), nullptr);
}

TEST(XMLValue, ConvertsOnceAndAgainAfterAChange) {
    XMLValue value(L"abc");
    EXPECT_EQ(value.GetMode(), XMLValue::ModeWide);
    const std::string& narrow = value.AsString();
    EXPECT_EQ(narrow, "abc");
    EXPECT_EQ(value.GetMode(), XMLValue::ModeBoth);
    value.SetWide(L"def");
    EXPECT_EQ(value.AsString(), "def");
    value.SetNarrow("ghi");
    EXPECT_EQ(value.AsWideString(), L"ghi");

    // Narrow text is UTF-8 whatever the locale.
    XMLValue text(L"H\u00F6he \u20AC");
    EXPECT_EQ(text.AsString(), "H\xC3\xB6he \xE2\x82\xAC");
    text.SetNarrow("\xC3\x9F");
    EXPECT_EQ(text.AsWideString(), L"\u00DF");
    EXPECT_EQ(XMLValue().GetMode(), XMLValue::ModeBoth);
}

TEST(XMLValue, NumbersAndBooleans) {
    struct Case {
        const char* text;
        int32_t asInt;
        float asFloat;
        bool asBool;
    };
    const Case cases[] = {
        {"1", 1, 1.0f, true},      {"5", 5, 5.0f, true},     {"-1", -1, -1.0f, true},
        {"0", 0, 0.0f, false},     {"true", 0, 0.0f, false}, {"yes", 0, 0.0f, false},
        {" 5 ", 5, 5.0f, true},    {"2.75", 2, 2.75f, true}, {"0.5", 0, 0.5f, false},
        {"1e3", 1, 1000.0f, true}, {"", 0, 0.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        XMLValue narrow;
        narrow.SetNarrow(c.text);
        XMLValue wide(std::wstring(c.text, c.text + std::strlen(c.text)));
        for (XMLValue* v : {&narrow, &wide}) {
            EXPECT_EQ(v->AsInt(), c.asInt);
            EXPECT_FLOAT_EQ(v->AsFloat(), c.asFloat);
            EXPECT_EQ(v->AsBool(), c.asBool);
        }
    }
}

TEST(XMLValue, NumberLists) {
    XMLValue v;
    auto floats = [&](const char* text) {
        v.SetNarrow(text);
        return v.GetFloat4();
    };
    EXPECT_EQ(floats("1 0.5"), OrvexEngine::Vec4(1, 0.5f, 0, 0));
    EXPECT_EQ(floats("1, 0.5,0.25 1"), OrvexEngine::Vec4(1, 0.5f, 0.25f, 1));
    EXPECT_EQ(floats("1-2 1e3 abc 7"), OrvexEngine::Vec4(1, 1000, 0, 7));
    EXPECT_EQ(floats(" ;; 3"), OrvexEngine::Vec4(3, 0, 0, 0));
    EXPECT_EQ(floats("2 3 4 5 6"), OrvexEngine::Vec4(2, 3, 4, 5));

    v.SetWide(L"16,8");
    EXPECT_EQ(v.GetInt2(), OrvexEngine::Vec2i(16, 8));
    v.SetWide(L"16;;;8 99");
    EXPECT_EQ(v.GetInt2(), OrvexEngine::Vec2i(16, 8));
    v.SetNarrow("2 3 4");
    EXPECT_EQ(v.GetFloat2(), OrvexEngine::Vec2(2, 3));

    // Slots past the last number keep what the caller put there.
    int32_t slots[3] = {7, 7, 7};
    v.SetNarrow("4");
    v.GetInts(slots, 3);
    EXPECT_EQ(slots[0], 4);
    EXPECT_EQ(slots[1], 7);
}

TEST(XMLNode, LongChildListsKeepTheirIndexThroughChanges) {
    // Twelve children, every third named "b": long enough to be looked up through the index, which is
    // made on the first lookup and has to follow every later change.
    XMLNode parent("p", nullptr);
    std::vector<XMLNode*> made;
    for (int i = 0; i < 12; ++i)
        made.push_back(new XMLNode(i % 3 == 0 ? "b" : "c" + std::to_string(i), &parent));
    std::vector<XMLNode*> found;
    parent.GetChildrenByName("b", found);
    EXPECT_EQ(found, (std::vector<XMLNode*>{made[0], made[3], made[6], made[9]}));

    parent.AddChild(made[0]);                  // to the end
    parent.RemoveChild(made[6]);               // deleted
    XMLNode* late = new XMLNode("b", &parent); // added after the index was made
    XMLNode other;
    other.AddChild(made[3]); // moved out
    EXPECT_EQ(parent.GetChild("b", 0), made[9]);
    parent.GetChildrenByName("b", found);
    EXPECT_EQ(found, (std::vector<XMLNode*>{made[9], made[0], late}));
    EXPECT_EQ(parent.GetChild("c4", 0), made[4]);
    EXPECT_EQ(parent.GetChild("c6", 0), nullptr);
    delete made[9]; // leaves its parent
    EXPECT_EQ(parent.GetChild("b", 0), made[0]);
    EXPECT_EQ(parent.children.size(), 10u);
}

// The name and the children are read through constant references: code outside the tree cannot change
// them behind the child index.
static_assert(!std::is_assignable_v<decltype((std::declval<XMLNode&>().name)), std::string>);
static_assert(!std::is_assignable_v<decltype((std::declval<XMLNode&>().children)), std::vector<XMLNode*>>);
