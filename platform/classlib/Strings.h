// TStrings, the abstract list of strings with objects, and TStringList, the
// list that holds them (optionally sorted, with a duplicates rule).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Object.h"

typedef std::function<void(TObject* sender)> TStringsNotifyEvent;

// Every index outside [0, Count) throws EStringListError ("List index out of
// bounds (n)"). Strings compare without regard to ASCII case unless a list
// says otherwise.
class TStrings : public TPersistent {
    CLASSLIB_CLASS(TStrings, TPersistent)

public:
    virtual int GetCount() const = 0;
    virtual std::string GetStrings(int index) const = 0;
    virtual void SetStrings(int index, const std::string& text);
    virtual TObject* GetObjects(int index) const;
    virtual void SetObjects(int index, TObject* object);

    // Returns the new string's index.
    virtual int Add(const std::string& text);
    int AddObject(const std::string& text, TObject* object);
    void Append(const std::string& text) { Add(text); }
    void AddStrings(const TStrings* strings);
    // index may be Count (append).
    virtual void Insert(int index, const std::string& text) = 0;
    void InsertObject(int index, const std::string& text, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    void Move(int fromIndex, int toIndex);

    // -1 when absent.
    virtual int IndexOf(const std::string& text) const;
    int IndexOfObject(const TObject* object) const;
    // "name=value" lines: the index of the first line with that name, -1 when none.
    int IndexOfName(const std::string& name) const;
    std::string GetNames(int index) const;
    // The value of the first line named name; empty when none.
    std::string GetValues(const std::string& name) const;
    // Sets or adds "name=value"; an empty value deletes the line.
    void SetValues(const std::string& name, const std::string& value);

    // Every string followed by CR LF.
    std::string GetText() const;
    // Replaces the strings with the lines of text (ended by CR LF, LF or CR; a
    // last line without an end counts too).
    void SetText(const std::string& text);
    // Strings separated by commas; those holding spaces, control characters,
    // commas or quotes are quoted, with quotes doubled.
    std::string GetCommaText() const;
    // Replaces the strings with the items of a comma (or space) separated text;
    // an unterminated quote runs to the end of the text.
    void SetCommaText(const std::string& text);

    // Copies another TStrings's strings and objects; others throw EConvertError.
    void Assign(const TPersistent* source) override;
    bool Equals(const TStrings* strings) const;

    // Nested; change notifications are held until the outermost EndUpdate, which
    // sends one. An EndUpdate without BeginUpdate does nothing.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    // Called with true when the first BeginUpdate starts and false when the last
    // EndUpdate ends.
    virtual void SetUpdateState(bool updating) { (void)updating; }
    void CheckIndex(int index, int count) const;
    virtual bool SameText(const std::string& a, const std::string& b) const;

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
    CLASSLIB_CLASS(TStringList, TStrings)

public:
    int GetCount() const override { return static_cast<int>(items_.size()); }
    std::string GetStrings(int index) const override;
    // On a sorted list the string is replaced and the list sorted again.
    void SetStrings(int index, const std::string& text) override;
    TObject* GetObjects(int index) const override;
    void SetObjects(int index, TObject* object) override;

    // On a sorted list the string goes to its place; an existing equal string
    // is ignored (dupIgnore: the existing index is returned) or refused
    // (dupError: EStringListError "String list does not allow duplicates").
    int Add(const std::string& text) override;
    // Throws EStringListError ("Operation not allowed on sorted string list")
    // on a sorted list.
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const std::string& text) const override;

    // Binary search of a sorted list: true and the index when found, else false
    // and the index where the string would go. On an unsorted list a linear search.
    bool Find(const std::string& text, int& index) const;
    virtual void Sort();

    bool GetSorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates GetDuplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool GetCaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    TStringsNotifyEvent OnChange;
    TStringsNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    bool SameText(const std::string& a, const std::string& b) const override;
    int Compare(const std::string& a, const std::string& b) const;
    virtual void Changing();
    virtual void Changed();

private:
    struct Item {
        std::string text;
        TObject* object;
    };
    void InsertItem(int index, const std::string& text, TObject* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
