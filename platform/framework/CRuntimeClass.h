#pragma once

class CCmdTarget;

// Names a class and creates objects of it, so that a document template can make the
// program's document, frame and view knowing only their classes.
struct CRuntimeClass {
    const char* m_lpszClassName;
    CCmdTarget* (*m_pfnCreateObject)();

    CCmdTarget* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNCREATE(class_name)                                                              \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    static CCmdTarget* CreateObject();                                                             \
    const CRuntimeClass* GetRuntimeClass() const override {                                        \
        return RUNTIME_CLASS(class_name);                                                          \
    }

// The base class is named for symmetry with the class declarations; the C++ type system
// already knows it.
#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CCmdTarget* class_name::CreateObject() {                                                       \
        return new class_name;                                                                     \
    }                                                                                              \
    const CRuntimeClass class_name::class##class_name = {#class_name, &class_name::CreateObject};
