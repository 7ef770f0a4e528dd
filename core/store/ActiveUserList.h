// Names of the children who have started using the computer in this run, kept in userinfo.aur so
// that a restart during a child's use resumes that child's usage (128 bytes per name).
#pragma once

#include <list>
#include <string>

class CActiveUserList {
public:
    static constexpr std::size_t kRecordSize = 128;
    static constexpr const char* kFileName = "userinfo.aur";
    // Where a name stands in the list; null for none.
    using POSITION = const std::string*;

    // Reads userinfo.aur; FALSE (list unchanged) when it is missing or empty.
    bool Load();
    // Replaces userinfo.aur with the list; FALSE (old file whole, list kept) on failure.
    bool Save() const;

    // The first entry with this name (compared as it would be stored), or null.
    POSITION Find(const std::string& strName) const;
    void Add(const std::string& strName);
    // Removes the entry Find returned; a position not in the list is ignored.
    void Remove(POSITION pos);

    int GetCount() const { return static_cast<int>(m_names.size()); }

private:
    std::list<std::string> m_names;
};
