// Every child's week of day arrangements, kept in prj.nam in the data folder.
#pragma once

#include <list>
#include <string>

#include "core/seams/Files.h"
#include "core/store/UserPrj.h"

class CPrjStore {
public:
    static constexpr const char* FILE_NAME = "prj.nam";

    CPrjStore() = default;
    virtual ~CPrjStore() = default;

    // Replaces the list with the file's weeks. False (list untouched) when the file is missing or
    // empty. A file that ends inside a block still gives that user, with defaults for what is missing.
    bool Load();
    // Replaces the file with the whole list; false when it could not be written (old file kept).
    bool Save() const;

    // The first week with exactly this name (bytes compared, case counts), or null. The pointer
    // stays valid until the next Load or the removal of that week.
    CUserPrj* Find(const std::string& strUser);
    const CUserPrj* Find(const std::string& strUser) const;
    void Add(const CUserPrj& user);
    // Removes the first week with this name, if any.
    void Remove(const std::string& strUser);

    const std::list<CUserPrj>& GetList() const { return m_list; }
    // The weeks of a prj.nam image, in file order, and the image of a list of weeks.
    static std::list<CUserPrj> Parse(const BYTES& bytes);
    static BYTES Image(const std::list<CUserPrj>& list);

private:
    // A list, not a vector: pointers handed out by Find must survive later Adds.
    std::list<CUserPrj> m_list;
};
