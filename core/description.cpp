#include "description.h"

#include <optional>

#include "morph.h"
#include "stdio_file.h"
#include "tokens.h"

namespace zel {

size_t MaxNameLength(Dialect dialect) { return dialect == Dialect::Plugin ? 79 : 127; }

std::string DescribeProblem(const DescriptionProblem& problem) {
    std::string text;
    if (problem.line > 0) text = "line " + std::to_string(problem.line);
    if (!problem.token.empty()) text += (text.empty() ? "\"" : ", \"") + problem.token + "\"";
    if (!text.empty()) text += ": ";
    return text + problem.message;
}

namespace {

std::string ViewText(int32_t view) { return "view " + std::to_string(view); }

class DescriptionParser {
public:
    DescriptionParser(std::FILE* file, Dialect dialect) : m_reader(file), m_dialect(dialect) {}

    bool Parse(ViewTable& table) {
        return ReadHeader(table) && ReadViews(table) &&
               (m_dialect == Dialect::Plugin || table.flag == 0 || ReadMorphSection(table));
    }

    const DescriptionProblem& Problem() const { return m_problem; }

private:
    bool ReadHeader(ViewTable& table) {
        if (!ReadInt("the view count", table.viewCount) || !ReadInt("the picture width", table.width) ||
            !ReadInt("the picture height", table.height) || !ReadInt("the header's fourth value", table.flag)) {
            return false;
        }
        if (table.viewCount < 1) {
            return Fail("the view count " + std::to_string(table.viewCount) + " is below 1");
        }
        for (auto [side, name] : {std::pair{table.width, "width"}, std::pair{table.height, "height"}}) {
            if (side < kMinPictureSide) {
                return Fail("the picture " + std::string(name) + " " + std::to_string(side) +
                            " is below 12: a drag step is a twelfth of it");
            }
            if (side > kMaxPictureSide) {
                return Fail("the picture " + std::string(name) + " " + std::to_string(side) +
                            " is beyond 65500, the largest JPEG picture");
            }
        }
        const uint64_t frameBytes =
            (3 * uint64_t(table.width) + uint64_t(table.width & 1)) * uint64_t(table.height);
        if (frameBytes > kMaxMovieBytes / uint64_t(table.viewCount)) {
            return Fail(std::to_string(table.viewCount) + " views of " + std::to_string(table.width) + " x " +
                        std::to_string(table.height) + " pixels would need more than " +
                        std::to_string(kMaxMovieBytes >> 20) + " MiB of frames");
        }
        return true;
    }

    bool ReadViews(ViewTable& table) {
        // Records are read one by one rather than allocated up front, so a
        // large count in a short file fails at its end instead of allocating.
        const size_t limit = MaxNameLength(m_dialect);
        for (int32_t view = 0; view < table.viewCount; ++view) {
            std::string name;
            if (!ReadName(ViewText(view) + "'s file name", limit, name)) return false;
            table.names.push_back(std::move(name));
            for (int slot = 1; slot <= kSlotCount; ++slot) {
                int32_t neighbour = 0;
                const std::string what = ViewText(view) + "'s slot " + std::to_string(slot);
                if (!ReadInt(what.c_str(), neighbour)) return false;
                if (neighbour < kNoView || neighbour >= table.viewCount) {
                    return Fail(what + " names " + ViewText(neighbour) + ", but views run from 0 to " +
                                std::to_string(table.viewCount - 1) + " (-1 for none)");
                }
                table.slots[size_t(slot - 1)].push_back(neighbour);
            }
        }
        return true;
    }

    bool ReadMorphSection(ViewTable& table) {
        // A crossfading description written for the plug-in ends after its
        // view records; the control shows it as a movie without morph pairs.
        std::optional<Token> count = m_reader.Next();
        if (!count) return true;
        int32_t pairCount = 0;
        if (!TakeInt(*count, "the morph pair count", pairCount)) return false;
        if (pairCount < 0) return Fail("the morph pair count " + std::to_string(pairCount) + " is below 0");
        for (int32_t p = 0; p < pairCount; ++p) {
            MorphPair pair;
            const std::string what = "morph pair " + std::to_string(p);
            if (!ReadName(what + "'s file", kMaxMorphPathLength, pair.path)) return false;
            for (auto [view, side] : {std::pair{&pair.viewA, "A"}, std::pair{&pair.viewB, "B"}}) {
                const std::string viewWhat = what + "'s view " + side;
                if (!ReadInt(viewWhat.c_str(), *view)) return false;
                if (!table.HasView(*view)) {
                    return Fail(viewWhat + " is " + std::to_string(*view) + ", but views run from 0 to " +
                                std::to_string(table.viewCount - 1));
                }
            }
            table.pairs.push_back(std::move(pair));
        }
        return true;
    }

    bool ReadInt(const std::string& what, int32_t& out) {
        std::optional<Token> token = m_reader.Next();
        if (!token) return FailAtEnd(what);
        return TakeInt(*token, what, out);
    }

    bool TakeInt(const Token& token, const std::string& what, int32_t& out) {
        m_lastLine = token.line;
        std::optional<int32_t> value = token.hasNul ? std::nullopt : ParseInt32(token.text);
        if (!value) return Fail(token, what + " is not a 32-bit integer");
        out = *value;
        return true;
    }

    bool ReadName(const std::string& what, size_t limit, std::string& out) {
        std::optional<Token> token = m_reader.Next();
        if (!token) return FailAtEnd(what);
        m_lastLine = token->line;
        if (token->hasNul) return Fail(*token, what + " holds a NUL byte");
        if (token->length > limit) {
            return Fail(*token, what + " is " + std::to_string(token->length) + " characters long; at most " +
                                    std::to_string(limit) + " fit");
        }
        out = token->text;
        return true;
    }

    bool FailAtEnd(const std::string& what) {
        m_problem = {m_lastLine, "", "the file ends where " + what + " belongs"};
        return false;
    }

    bool Fail(const Token& token, std::string message) {
        m_problem = {token.line, ShownToken(token), std::move(message)};
        return false;
    }

    bool Fail(std::string message) {
        m_problem = {m_lastLine, "", std::move(message)};
        return false;
    }

    TokenReader m_reader;
    Dialect m_dialect;
    DescriptionProblem m_problem;
    int m_lastLine = 1;
};

}  // namespace

DescriptionRead ReadDescriptionFile(const std::string& path, Dialect dialect) {
    DescriptionRead result;
    StdioFile file = OpenStdioFile(path, "r");
    if (!file) {
        result.status = ReadStatus::CantOpen;
        return result;
    }
    DescriptionParser parser(file.get(), dialect);
    ViewTable table;
    if (!parser.Parse(table)) {
        result.status = ReadStatus::Refused;
        result.problem = parser.Problem();
        return result;
    }
    file.reset();

    if (dialect == Dialect::Control && table.flag != 0) {
        for (auto& slotPairs : table.pairIndex) slotPairs.assign(size_t(table.viewCount), kNoView);
        for (size_t p = 0; p < table.pairs.size(); ++p) {
            MorphPair& pair = table.pairs[p];
            MorphFileRead morph = ReadMorphFile(pair.path);
            if (morph.status == ReadStatus::Ok) {
                pair.background = morph.background;
                pair.triangles = std::move(morph.triangles);
            } else {
                result.morphProblems.push_back(
                    {int32_t(p), pair.path, morph.status == ReadStatus::CantOpen, morph.problem});
            }
            IndexMorphPair(table, int32_t(p));
        }
    }
    result.status = ReadStatus::Ok;
    result.table = std::move(table);
    return result;
}

}  // namespace zel
