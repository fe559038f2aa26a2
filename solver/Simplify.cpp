// Rewrites an attempt's move string into a solution: whole-cube turns folded
// into the face letters, inverse pairs cancelled, runs of equal quarter turns
// merged. Each later pass runs once, so a few mergeable neighbours may remain
// (four equal quarter turns become an inverse pair, say); that is the
// solution form the dialog lists.

#include "CubeSolver.h"

#include <string_view>
#include <utility>

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

} // namespace

bool CCubeSolver::CancelInversePairs(CString& strMoves)
{
    CString strResult;
    strResult.reserve(strMoves.size());
    bool bChanged = false;
    size_t p = 0;
    Grp cur = Group(strMoves, p);
    while (!cur.empty()) {
        p += 3;
        Grp next = Group(strMoves, p);
        if (!next.empty() && next[0] == cur[0] && CharAt(next, 1) != CharAt(cur, 1)) {
            bChanged = true;
            p += 3;
            cur = Group(strMoves, p);
        } else {
            strResult += cur;
            cur = next;
        }
    }
    strMoves = std::move(strResult);
    return bChanged;
}

void CCubeSolver::SimplifySolution()
{
    // 1. Relabel into the frame of the cube as entered, dropping C groups.
    {
        FrameMap frame;
        CString strOut;
        strOut.reserve(m_strSolution.size());
        for (size_t p = 0; p < m_strSolution.size(); p += 3) {
            const Grp group = Group(m_strSolution, p);
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
        m_strSolution = std::move(strOut);
    }

    // 2. Cancel inverse pairs until none is left.
    while (CancelInversePairs(m_strSolution)) {
    }

    // 3. Three equal quarter turns become one the other way.
    {
        CString strOut;
        size_t p = 3;
        Grp t0 = Group(m_strSolution, 0);
        Grp t1 = Group(m_strSolution, 3);
        while (!t0.empty()) {
            p += 3;
            Grp t2 = Group(m_strSolution, p);
            if (!t1.empty() && !t2.empty() && t0 == t1 && t1 == t2) {
                strOut += t0[0];
                strOut += CharAt(t0, 1) == '+' ? "-." : "+.";
                p += 3;
                t0 = Group(m_strSolution, p);
                p += 3;
                t1 = Group(m_strSolution, p);
            } else {
                strOut += t0;
                t0 = t1;
                t1 = t2;
            }
        }
        m_strSolution = std::move(strOut);
    }

    // 4. Four equal quarter turns vanish.
    {
        CString strOut;
        size_t p = 6;
        Grp t0 = Group(m_strSolution, 0);
        Grp t1 = Group(m_strSolution, 3);
        Grp t2 = Group(m_strSolution, 6);
        while (!t0.empty()) {
            p += 3;
            Grp t3 = Group(m_strSolution, p);
            if (!t1.empty() && !t2.empty() && !t3.empty() && t0 == t1 && t1 == t2 && t2 == t3) {
                p += 3;
                t0 = Group(m_strSolution, p);
                p += 3;
                t1 = Group(m_strSolution, p);
                p += 3;
                t2 = Group(m_strSolution, p);
            } else {
                strOut += t0;
                t0 = t1;
                t1 = t2;
                t2 = t3;
            }
        }
        m_strSolution = std::move(strOut);
    }

    // 5. Two equal quarter turns become a half turn.
    {
        CString strOut;
        size_t p = 0;
        Grp t0 = Group(m_strSolution, 0);
        while (!t0.empty()) {
            p += 3;
            Grp t1 = Group(m_strSolution, p);
            if (!t1.empty() && t1 == t0) {
                strOut += t0[0];
                strOut += "*.";
                p += 3;
                t0 = Group(m_strSolution, p);
            } else {
                strOut += t0;
                t0 = t1;
            }
        }
        m_strSolution = std::move(strOut);
    }
}
