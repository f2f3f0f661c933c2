#include "morph.h"

#include <optional>

#include "file_names.h"
#include "stdio_file.h"
#include "tokens.h"

namespace zel {

namespace {

bool SameKeyword(const std::string& token, const char* keyword) {
    size_t i = 0;
    for (; keyword[i] != '\0'; ++i) {
        if (i == token.size()) return false;
        char c = token[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != keyword[i]) return false;
    }
    return i == token.size();
}

class MorphParser {
public:
    explicit MorphParser(std::FILE* file) : m_reader(file, kMaxMorphFileBytes) {}

    bool Parse(MorphFileRead& out) {
        const bool parsed = ParseTokens(out);
        // Whatever reading stopped at, the file was cut short by the limit.
        if (m_reader.LimitReached()) {
            m_problem = {m_reader.Line(), "", "the file is longer than " + std::to_string(kMaxMorphFileBytes) +
                                                  " bytes, the most the control reads of one morph file"};
            return false;
        }
        return parsed;
    }

    const DescriptionProblem& Problem() const { return m_problem; }

private:
    bool ParseTokens(MorphFileRead& out) {
        // Correspondences live only while their file is read; triangles copy them.
        std::vector<Correspondence> correspondences;
        while (std::optional<Token> token = m_reader.Next()) {
            if (SameKeyword(token->text, "CORR")) {
                Correspondence c;
                if (!ReadInts(*token, c.values.data(), 4)) return false;
                correspondences.push_back(c);
            } else if (SameKeyword(token->text, "POLY")) {
                int32_t corners[3];
                if (!ReadInts(*token, corners, 3)) return false;
                MorphTriangle triangle;
                for (size_t k = 0; k < 3; ++k) {
                    if (corners[k] < 0 || size_t(corners[k]) >= correspondences.size()) {
                        return Fail(*token, "POLY names correspondence " + std::to_string(corners[k]) + ", but " +
                                                std::to_string(correspondences.size()) +
                                                " have been listed before it");
                    }
                    triangle.vertices[k] = correspondences[size_t(corners[k])];
                }
                out.triangles.push_back(triangle);
            } else if (SameKeyword(token->text, "BACKGROUND")) {
                if (!ReadInts(*token, out.background.data(), 3)) return false;
            }
        }
        return true;
    }

    bool ReadInts(const Token& keyword, int32_t* values, int count) {
        for (int i = 0; i < count; ++i) {
            std::optional<Token> token = m_reader.Next();
            if (!token) {
                return Fail(keyword, "the file ends before the " + std::to_string(count) + " numbers of " +
                                         keyword.text);
            }
            std::optional<int32_t> value = token->hasNul ? std::nullopt : ParseInt32(token->text);
            if (!value) return Fail(*token, "a number of " + keyword.text + " is not a 32-bit integer");
            values[i] = *value;
        }
        return true;
    }

    bool Fail(const Token& token, std::string message) {
        m_problem = {token.line, ShownToken(token), std::move(message)};
        return false;
    }

    TokenReader m_reader;
    DescriptionProblem m_problem;
};

}  // namespace

MorphFileRead ReadMorphFile(const std::string& path) {
    MorphFileRead result;
    if (!IsOpenableMorphPath(path)) {
        result.status = ReadStatus::Refused;
        result.problem.message = "not opened: the control opens a morph file on this computer, never a network "
                                 "share or a device";
        return result;
    }
    StdioFile file = OpenStdioFile(path, "r");
    if (!file) return result;
    MorphParser parser(file.get());
    if (!parser.Parse(result)) {
        MorphFileRead refused;
        refused.status = ReadStatus::Refused;
        refused.problem = parser.Problem();
        return refused;
    }
    result.status = ReadStatus::Ok;
    return result;
}

void IndexMorphPair(ViewTable& table, int32_t pair) {
    if (pair < 0 || size_t(pair) >= table.pairs.size()) return;
    const MorphPair& p = table.pairs[size_t(pair)];
    for (auto [from, to] : {std::pair{p.viewA, p.viewB}, std::pair{p.viewB, p.viewA}}) {
        if (!table.HasView(from)) continue;
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            auto& index = table.pairIndex[size_t(slot - 1)];
            if (table.Neighbour(from, slot) == to && size_t(from) < index.size()) {
                index[size_t(from)] = pair;
                break;
            }
        }
    }
}

}  // namespace zel
