// SampleDoc.cpp: the document of Sample.
#include "SampleDoc.h"

#include <utility>

namespace Sample {

CSampleDoc::CSampleDoc(std::string title) : m_title(std::move(title)) {}

void CSampleDoc::AddLine(const std::string& line) { m_lines.push_back(line); }

std::string CSampleDoc::Render() const {
    std::string text = m_title + "\n" + std::string(m_title.size(), '=') + "\n";
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        text += std::to_string(i + 1) + ". " + m_lines[i] + "\n";
    return text;
}

}  // namespace Sample
