// Rewrites an attempt's move string into a solution: whole-cube turns folded
// into the face letters, inverse pairs cancelled, runs of equal quarter turns
// merged. Each later pass runs once, so a few mergeable neighbours may remain
// (four equal quarter turns become an inverse pair, say); that is the
// solution form the dialog lists. SimplifyTagged makes the same rewrites on
// tagged groups, so that each move of the solution keeps the stage it came
// from.

#include "CubeSolver.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Grp = std::string_view;

// The group of up to three characters at p; empty at or beyond the end.
Grp Group(const CString& s, size_t p)
{
    return p < s.size() ? Grp(s).substr(p, 3) : Grp();
}

// Character i of a group, '\0' where the group is shorter.
char CharAt(Grp s, size_t i)
{
    return i < s.size() ? s[i] : '\0';
}

// Which face of the cube as entered stands at each position now.
struct FrameMap {
    char F = 'F', L = 'L', R = 'R', B = 'B', T = 'T', D = 'D';

    void Turn(char chCode)
    {
        const FrameMap old = *this;
        switch (chCode) {
        case '+': F = old.L; L = old.B; B = old.R; R = old.F; break;
        case '-': F = old.R; R = old.B; B = old.L; L = old.F; break;
        case '^': F = old.D; D = old.B; B = old.T; T = old.F; break;
        case 'v': F = old.T; T = old.B; B = old.D; D = old.F; break;
        default: break;
        }
    }

    // 0 for a character that is no face letter.
    char Lookup(char chPosition) const
    {
        switch (chPosition) {
        case 'F': return F;
        case 'L': return L;
        case 'R': return R;
        case 'B': return B;
        case 'T': return T;
        case 'D': return D;
        default: return '\0';
        }
    }
};

template <size_t N>
using Window = std::array<Grp, N>;

// Rewrites a move string group by group through a window of N groups. Where the
// window is full and rewrite(window, strOut) appends a replacement (returning
// true), the pass resumes after the window; otherwise the first group is kept as
// it is and the window slides on by one group. Returns whether anything was replaced.
template <size_t N, typename Rewrite>
bool RewriteWindows(CString& strMoves, Rewrite rewrite)
{
    CString strOut;
    strOut.reserve(strMoves.size());
    bool bChanged = false;
    Window<N> window;
    for (size_t p = 0; p < strMoves.size();) {
        for (size_t i = 0; i < N; ++i)
            window[i] = Group(strMoves, p + 3 * i);
        // Only groups past the end are empty, so the window is full when its last group is not.
        if (!window[N - 1].empty() && rewrite(window, strOut)) {
            bChanged = true;
            p += 3 * N;
        } else {
            strOut += window[0];
            p += 3;
        }
    }
    strMoves = std::move(strOut);
    return bChanged;
}

template <size_t N>
bool AllEqual(const Window<N>& window)
{
    for (size_t i = 1; i < N; ++i)
        if (window[i] != window[0])
            return false;
    return true;
}

// Renames every face into the frame of the cube as entered and drops the whole-cube
// turns. A face group cut short by the end of the string gets its '.'.
void RelabelIntoEnteredFrame(CString& strMoves)
{
    FrameMap frame;
    CString strOut;
    strOut.reserve(strMoves.size());
    for (size_t p = 0; p < strMoves.size(); p += 3) {
        const Grp group = Group(strMoves, p);
        if (group[0] == 'C') {
            frame.Turn(CharAt(group, 1));
        } else if (const char chFace = frame.Lookup(group[0])) {
            strOut += chFace;
            if (group.size() > 1) {
                strOut += group[1];
                strOut += '.';
            }
        } else {
            strOut += group;
        }
    }
    strMoves = std::move(strOut);
}

// Three equal quarter turns become one the other way.
void MergeThreeQuarterTurns(CString& strMoves)
{
    RewriteWindows<3>(strMoves, [](const Window<3>& w, CString& strOut) {
        if (!AllEqual(w))
            return false;
        strOut += w[0][0];
        strOut += CharAt(w[0], 1) == '+' ? "-." : "+.";
        return true;
    });
}

// Four equal quarter turns vanish.
void DropFourQuarterTurns(CString& strMoves)
{
    RewriteWindows<4>(strMoves, [](const Window<4>& w, CString&) { return AllEqual(w); });
}

// Two equal quarter turns become a half turn.
void MergeTwoQuarterTurns(CString& strMoves)
{
    RewriteWindows<2>(strMoves, [](const Window<2>& w, CString& strOut) {
        if (!AllEqual(w))
            return false;
        strOut += w[0][0];
        strOut += "*.";
        return true;
    });
}

// ---------------------------------------------------------------- tagged

// The same passes on groups that carry a tag each: a string cut into groups
// of three (the last possibly shorter), each with the tag of where it came from.
struct TaggedGroups {
    std::vector<CString> groups;
    std::vector<int> tags;

    CString Joined() const
    {
        CString s;
        for (const CString& g : groups)
            s += g;
        return s;
    }
};

// As RewriteWindows: rewrite(window, out) appends replacement groups (each a
// whole group of three) for a full window, which all take the window's first tag.
template <size_t N, typename Rewrite>
bool RewriteTaggedWindows(TaggedGroups& t, Rewrite rewrite)
{
    TaggedGroups out;
    bool bChanged = false;
    const size_t n = t.groups.size();
    for (size_t i = 0; i < n;) {
        Window<N> window;
        for (size_t k = 0; k < N; ++k)
            window[k] = i + k < n ? Grp(t.groups[i + k]) : Grp();
        CString strOut;
        if (!window[N - 1].empty() && rewrite(window, strOut)) {
            for (size_t p = 0; p < strOut.size(); p += 3) {
                out.groups.push_back(strOut.substr(p, 3));
                out.tags.push_back(t.tags[i]);
            }
            bChanged = true;
            i += N;
        } else {
            out.groups.push_back(t.groups[i]);
            out.tags.push_back(t.tags[i]);
            ++i;
        }
    }
    t = std::move(out);
    return bChanged;
}

} // namespace

std::vector<int> CCubeSolver::SimplifyTagged(CString& strMoves, std::vector<int> tags)
{
    TaggedGroups t;
    for (size_t p = 0, i = 0; p < strMoves.size(); p += 3, ++i) {
        t.groups.push_back(strMoves.substr(p, 3));
        t.tags.push_back(i < tags.size() ? tags[i] : (tags.empty() ? 0 : tags.back()));
    }
    // Into the entered frame, group by group, as RelabelIntoEnteredFrame does.
    {
        FrameMap frame;
        TaggedGroups out;
        for (size_t i = 0; i < t.groups.size(); ++i) {
            const CString& g = t.groups[i];
            CString strNew;
            if (g[0] == 'C') {
                frame.Turn(CharAt(g, 1));
                continue;
            } else if (const char chFace = frame.Lookup(g[0])) {
                strNew += chFace;
                if (g.size() > 1) {
                    strNew += g[1];
                    strNew += '.';
                }
            } else {
                strNew = g;
            }
            out.groups.push_back(strNew);
            out.tags.push_back(t.tags[i]);
        }
        t = std::move(out);
    }
    // A face letter cut short at the end joins the group after it in the
    // string form; the groups are regrouped by three, as the string reads.
    {
        const CString strJoined = t.Joined();
        TaggedGroups out;
        size_t nGroup = 0, nInGroup = 0;
        for (size_t p = 0; p < strJoined.size(); p += 3) {
            while (nGroup + 1 < t.groups.size() && nInGroup + t.groups[nGroup].size() <= p) {
                nInGroup += t.groups[nGroup].size();
                ++nGroup;
            }
            out.groups.push_back(strJoined.substr(p, 3));
            out.tags.push_back(t.tags.empty() ? 0 : t.tags[nGroup]);
        }
        t = std::move(out);
    }
    auto cancel = [](const Window<2>& w, CString&) {
        return w[1][0] == w[0][0] && CharAt(w[1], 1) != CharAt(w[0], 1);
    };
    while (RewriteTaggedWindows<2>(t, cancel)) {
    }
    RewriteTaggedWindows<3>(t, [](const Window<3>& w, CString& strOut) {
        if (!AllEqual(w))
            return false;
        strOut += w[0][0];
        strOut += CharAt(w[0], 1) == '+' ? "-." : "+.";
        return true;
    });
    RewriteTaggedWindows<4>(t, [](const Window<4>& w, CString&) { return AllEqual(w); });
    RewriteTaggedWindows<2>(t, [](const Window<2>& w, CString& strOut) {
        if (!AllEqual(w))
            return false;
        strOut += w[0][0];
        strOut += "*.";
        return true;
    });
    strMoves = t.Joined();
    return t.tags;
}

bool CCubeSolver::CancelInversePairs(CString& strMoves)
{
    // A face followed by the same face with another turn code; the codes are not
    // compared further, so F+ F* counts as a pair too.
    return RewriteWindows<2>(strMoves, [](const Window<2>& w, CString&) {
        return w[1][0] == w[0][0] && CharAt(w[1], 1) != CharAt(w[0], 1);
    });
}

void CCubeSolver::SimplifySolution()
{
    // Each pass after the cancelling runs once (see the top of this file).
    RelabelIntoEnteredFrame(m_strSolution);
    while (CancelInversePairs(m_strSolution)) {
    }
    MergeThreeQuarterTurns(m_strSolution);
    DropFourQuarterTurns(m_strSolution);
    MergeTwoQuarterTurns(m_strSolution);
}
