#pragma once

// A drawing object that a CDC can select: a pen, a brush or a bitmap. Selecting one returns the
// object of the same kind that was selected before, as a CGdiObject when the caller selected a
// stock object, so that restoring works whatever kind of object was handed back.
class CGdiObject {
public:
    enum class Kind { Pen, Brush, Bitmap };

    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() = default;

    Kind GetKind() const { return m_kind; }
    // False once the object was deleted or before it was created; such an object cannot be
    // selected.
    bool IsValid() const { return m_bValid; }
    bool IsStock() const { return m_bStock; }
    // Releases the object. Stock objects live for the whole program and ignore this.
    virtual bool DeleteObject();

protected:
    explicit CGdiObject(Kind kind) : m_kind(kind) {}

    void SetValid(bool valid) { m_bValid = valid; }
    void MakeStock() { m_bStock = true; }

private:
    Kind m_kind;
    bool m_bValid = false;
    bool m_bStock = false;
};
