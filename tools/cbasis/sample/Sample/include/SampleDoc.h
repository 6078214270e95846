// SampleDoc.h: the document of Sample, a title and its lines.
#if !defined(AFX_SAMPLEDOC_H__6F1C2A3B_8D4E_4F5A_9B6C_7D8E9FA0B1C2__INCLUDED_)
#define AFX_SAMPLEDOC_H__6F1C2A3B_8D4E_4F5A_9B6C_7D8E9FA0B1C2__INCLUDED_

#include <cstddef>
#include <string>
#include <vector>

namespace Sample {

class CSampleDoc {
public:
    explicit CSampleDoc(std::string title);

    // Adds a line; an empty line is kept as it is.
    void AddLine(const std::string& line);
    std::size_t LineCount() const { return m_lines.size(); }
    const std::string& Title() const { return m_title; }

    // The title underlined, then one numbered line per entry.
    std::string Render() const;

private:
    std::string m_title;
    std::vector<std::string> m_lines;
};

}  // namespace Sample

#endif  // !defined(AFX_SAMPLEDOC_H__6F1C2A3B_8D4E_4F5A_9B6C_7D8E9FA0B1C2__INCLUDED_)
