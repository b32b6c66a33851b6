#include "support/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace rpl {
namespace {

std::string take(Text* text) {
  const TextPtr owned(text);
  return std::string(text_view(owned.get()));
}

Text* text(std::string_view bytes) { return xstrdup(bytes); }

TEST(Xstrfmt, ReplacesEachPlaceholderInOrder) {
  EXPECT_EQ(take(xstrfmt("IF %s\nTHEN %s\nEND\n", text("a"), text("b"))), "IF a\nTHEN b\nEND\n");
  EXPECT_EQ(take(xstrfmt("%s %s MOD '%s' STO", text("u"), text("3"), text("u"))),
            "u 3 MOD 'u' STO");
}

TEST(Xstrfmt, PercentPairsOtherThanStringAreDroppedAndDoubledPercentIsKept) {
  EXPECT_EQ(take(xstrfmt("a%%b%dc%s", text("x"))), "a%bcx");
  // Percent signs inside arguments are plain bytes.
  EXPECT_EQ(take(xstrfmt("[%s]", text("%s%%"))), "[%s%%]");
}

TEST(Xstrfmt, CopiesLongArgumentsAndNulBytesWhole) {
  const std::string long_text(5000, 'x');
  const std::string with_nul("a\0b", 3);
  EXPECT_EQ(take(xstrfmt("<%s|%s>", text(long_text), text(with_nul))),
            "<" + long_text + "|" + with_nul + ">");
  EXPECT_EQ(take(xstrfmt("<%s|%s>", text(with_nul), text(long_text))),
            "<" + with_nul + "|" + long_text + ">");
  EXPECT_EQ(take(xstrfmt("%s!", text(""))), "!");
}

TEST(Xstrfmt, RepeatedWrappingOnBothSidesKeepsTheText) {
  Text* chain = text("v");
  std::string expected = "v";
  for (int i = 0; i < 2000; ++i) {
    chain = xstrfmt(i % 3 == 0 ? Template("'%s(%s)' EVAL") : Template(" %s %s"), chain, text("1"));
    expected = i % 3 == 0 ? "'" + expected + "(1)' EVAL" : " " + expected + " 1";
  }
  EXPECT_EQ(take(chain), expected);
}

// A "%s" without an argument stands for nothing; an argument without a "%s" is
// released all the same (a leak would fail the sanitized build).
TEST(Xstrfmt, ArgumentsAndPlaceholdersThatDoNotPair) {
  EXPECT_EQ(take(xstrfmt("<%s|%s>", text("a"))), "<a|>");
  EXPECT_EQ(take(xstrfmt("<%s>", text("a"), text("b"))), "<a>");
}

// Texts of megabytes take blocks of their own; wrapped on both sides and grown
// at the back, they keep every byte.
TEST(Xstrfmt, TextsOfMegabytes) {
  const std::string block(300000, 'x');
  Text* chain = text("v");
  std::string expected = "v";
  for (int i = 0; i < 12; ++i) {
    chain = i % 2 == 0 ? xstrfmt("(%s%s)", text(block), chain) : text_append(chain, block);
    expected = i % 2 == 0 ? "(" + block + expected + ")" : expected + block;
  }
  EXPECT_EQ(take(chain), expected);
}

// An empty view may carry no storage at all; copying it must not touch it.
TEST(Xstrdup, EmptyViewWithoutStorage) {
  EXPECT_EQ(take(xstrdup(std::string_view{})), "");
  EXPECT_EQ(take(text_append(xstrdup(std::string_view{}), std::string_view{})), "");
  EXPECT_EQ(take(xstrfmt("<%s>", xstrdup(std::string_view{}))), "<>");
}

// A list grown item by item keeps every separator and item, through regrowth.
TEST(TextAppend, SeparatedItems) {
  Text* list = text("a");
  std::string expected = "a";
  for (int i = 0; i < 200; ++i) {
    list = text_append(list, ",", text(std::string(i % 20, 'x')));
    expected += "," + std::string(i % 20, 'x');
  }
  EXPECT_EQ(take(list), expected);
  EXPECT_EQ(take(text_append(text(""), "", text(""))), "");
}

// A text of megabytes appended to another is moved over by whole pages; its
// bytes land right after the first text's whatever their offsets within a page,
// whether or not the first text's block has to grow.
TEST(TextAppend, TextsOfMegabytes) {
  struct Case {
    std::size_t size, kept;   // the first text's bytes, and how many it keeps
    std::size_t more_size;    // the appended text's bytes
    const char* more_prefix;  // wrapped in front of it, which moves its start
    const char* separator;
  };
  const Case cases[] = {
      {3 << 20, 3 << 20, 3 << 20, "", ","},                 // grows: the first block is too small
      {5 << 20, 1 << 20, 3 << 19, "", ""},                  // copied into the room truncation left
      {1 << 20, 1 << 20, 5 << 19, "0123456789", " \\-> "},  // starts mid-block
      {(1 << 20) + 4093, 5000, 1 << 20, "abc", "x"},        // a few bytes in a large block
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const std::string first(c.size, 'a');
    std::string more(c.more_size, 'b');
    for (std::size_t i = 0; i < more.size(); i += 4096) more[i] = 'c';  // page marks
    Text* start = text_truncate(text(first), c.kept);
    Text* rest = xstrfmt("%s%s", text(c.more_prefix), text(more));
    const std::string expected = first.substr(0, c.kept) + c.separator + c.more_prefix + more;
    EXPECT_EQ(take(*c.separator == '\0' ? text_append(start, rest)
                                        : text_append(start, c.separator, rest)),
              expected);
  }
}

TEST(XstrcatList, JoinsWithoutSeparators) {
  EXPECT_EQ(take(xstrcat_list(text("a\n"), text(""), text("b\n"))), "a\nb\n");
  EXPECT_EQ(take(xstrcat_list(text("only"))), "only");
}

// Blocks of small texts released are kept for reuse up to a limit and freed
// beyond it; either way every new text holds its own bytes.
TEST(TextFree, ManySmallTextsAtOnce) {
  std::vector<Text*> texts;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 10000; ++i) texts.push_back(text(std::to_string(i)));
    for (int i = 0; i < 10000; ++i) EXPECT_EQ(text_view(texts[i]), std::to_string(i));
    for (Text* t : texts) text_free(t);
    texts.clear();
  }
}

// A label stays with its text until a routine builds or changes the text,
// also when the routine reuses the text's block.
TEST(TextLabel, KeptUntilTheTextChanges) {
  const auto labelled = [] {
    Text* t = text("name");
    set_text_label(t, {3, 7});
    return t;
  };
  Text* kept = labelled();
  EXPECT_EQ(text_label(kept).kind, 3u);
  EXPECT_EQ(text_label(kept).data, 7u);
  text_free(kept);
  const std::pair<const char*, std::function<Text*(Text*)>> changes[] = {
      {"xstrfmt", [](Text* t) { return xstrfmt("'%s' STO", t); }},
      {"xstrcat_list", [](Text* t) { return xstrcat_list(t, text("x")); }},
      {"text_append", [](Text* t) { return text_append(t, " x"); }},
      {"text_truncate", [](Text* t) { return text_truncate(t, 2); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    const TextPtr changed(change(labelled()));
    EXPECT_EQ(text_label(changed.get()).kind, 0u);
    EXPECT_EQ(text_label(changed.get()).data, 0u);
  }
  EXPECT_EQ(take(text_truncate(text("abc"), 5)), "abc");
  EXPECT_EQ(take(text_truncate(text("abc"), 1)), "a");
  const TextPtr original(labelled());
  const TextPtr copy(xstrdup(original.get()));
  EXPECT_EQ(text_label(copy.get()).kind, 0u);
}

}  // namespace
}  // namespace rpl
