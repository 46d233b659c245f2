// The root of the class library: run-time class names and inheritance tests,
// and TPersistent, the base of everything that can be assigned or stored.
#pragma once

#include <string>

// Run-time facts of one class: its name and its base. One static record per
// class, made by CLASSLIB_CLASS; the chain of bases ends at TObject.
struct TClassInfo {
    const char* name;
    const TClassInfo* base;
};

// Declares a class's run-time facts inside its body. Use in every class that
// the library's users test for or that carries its own class name.
#define CLASSLIB_CLASS(ClassType, BaseType)                                      \
public:                                                                          \
    static const TClassInfo* StaticClassInfo() {                                 \
        static const TClassInfo info = {#ClassType, BaseType::StaticClassInfo()}; \
        return &info;                                                            \
    }                                                                            \
    const TClassInfo* ClassInfo() const override { return StaticClassInfo(); }   \
                                                                                 \
private:

class TObject {
public:
    virtual ~TObject() = default;

    static const TClassInfo* StaticClassInfo() {
        static const TClassInfo info = {"TObject", nullptr};
        return &info;
    }
    virtual const TClassInfo* ClassInfo() const { return StaticClassInfo(); }

    // The most derived class's name, e.g. "TButton".
    const char* ClassName() const { return ClassInfo()->name; }
    // True when this object's class is `info` or derives from it; false for null.
    bool InheritsFrom(const TClassInfo* info) const {
        for (const TClassInfo* c = ClassInfo(); c; c = c->base)
            if (c == info) return true;
        return false;
    }
    template <class T>
    bool InheritsFrom() const {
        return InheritsFrom(T::StaticClassInfo());
    }
};

class TPersistent : public TObject {
    CLASSLIB_CLASS(TPersistent, TObject)

public:
    // Copies source's state into this object. The base knows no class and
    // throws EConvertError ("Cannot assign a X to a Y"), as derived classes do
    // for sources they do not understand.
    virtual void Assign(const TPersistent* source);
};
