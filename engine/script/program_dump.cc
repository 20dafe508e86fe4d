#include "engine/script/program_dump.h"

#include <cstdio>

#include "engine/script/tags.h"

namespace morva::tpx {

namespace {

void AppendEscaped(std::string& out, int32_t c) {
    switch (c) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        default:
            break;
    }
    if (c < 32 || c > 126) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", c & 0xFF);
        out += buf;
    } else {
        out += static_cast<char>(c);
    }
}

std::string Format(const char* fmt, int32_t a) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a);
    return buf;
}

std::string CodeText(int32_t code) {
    const char* name = CodeName(code);
    return name ? name : Format("?%d", code);
}

std::string NodeText(const Node& n, const Var& vars) {
    if (n.kind != NodeKind::Operand)
        return n.kind == NodeKind::EndStatement ? ";" : CodeText(n.value);
    switch (n.type) {
        case OperandType::Number:
            return Format("%d", n.value);
        case OperandType::Tag:
            return CodeText(n.value);
        case OperandType::Variable:
            return n.value >= 0 && n.value < vars.size() ? "$" + vars.NameAt(n.value)
                                                         : Format("$?%d", n.value);
        case OperandType::Text: {
            std::string s = "\"";
            for (char c : n.text) AppendEscaped(s, static_cast<unsigned char>(c));
            return s + "\"";
        }
    }
    return "?";
}

std::string NodesText(const std::vector<Node>& nodes, const Var& vars) {
    std::string s;
    for (const Node& n : nodes) s += " " + NodeText(n, vars);
    return s;
}

// Number of words that follow operation code `code`.
int FollowingWords(int32_t code) {
    switch (code) {
        case kSymbol:
        case tag::IF:
        case tag::ELSE:
        case tag::EXPR:
        case tag::REFTABLES:
        case tag::REFCOLUMNS:
        case tag::LOOKUPITEMS:
            return 1;
        default:
            return 0;
    }
}

std::string FollowingText(int32_t code, int32_t word, const Var& vars) {
    switch (code) {
        case kSymbol:
            return word >= 0 && word < vars.size() ? " $" + vars.NameAt(word)
                                                   : Format(" $?%d", word);
        case tag::IF:
        case tag::ELSE:
            return Format(" if#%d", word);
        case tag::EXPR:
            return Format(" expr#%d", word);
        default:
            return Format(" skip %04d", word);
    }
}

void DumpCode(std::string& out, const Program& p) {
    const auto& code = p.code;
    out += Format("code %d words\n", static_cast<int32_t>(code.size()));
    size_t i = 0;
    while (i < code.size()) {
        out += Format("%04d  ", static_cast<int32_t>(i));
        if (code[i] >= 0) {
            out += '"';
            while (i < code.size() && code[i] >= 0) {
                AppendEscaped(out, code[i]);
                // A line feed ends a run, so that the dump follows the script's lines.
                if (code[i++] == '\n') break;
            }
            out += "\"\n";
            continue;
        }
        int32_t op = -code[i++];
        out += CodeText(op);
        for (int k = 0; k < FollowingWords(op) && i < code.size(); ++k) {
            out += FollowingText(op, code[i++], p.vars);
        }
        out += '\n';
    }
}

}  // namespace

std::string DumpProgram(const Program& p) {
    std::string out;
    DumpCode(out, p);
    for (size_t i = 0; i < p.conditions.size(); ++i) {
        const IF& f = p.conditions[i];
        char buf[96];
        std::snprintf(buf, sizeof buf, "if#%zu%s then %d else %d end %d:", i,
                      f.elseIfLink ? " elseif" : "", f.thenAddress, f.elseAddress, f.endAddress);
        out += buf + NodesText(f.nodes, p.vars) + "\n";
    }
    for (size_t i = 0; i < p.exprs.size(); ++i) {
        out += Format("expr#%d:", static_cast<int32_t>(i)) + NodesText(p.exprs[i].nodes, p.vars) +
               "\n";
    }
    for (int32_t i = 0; i < p.vars.size(); ++i) {
        out += Format("var#%d ", i) + p.vars.NameAt(i) + "\n";
    }
    return out;
}

}  // namespace morva::tpx
