#pragma once

class CPersonBase;

// A pane of the personnel frame that follows the person view's current person (photo,
// attachments, related archives). The view hands it every change of person, and a person
// with PID -1 when the list has none.
class IPersonPane
{
public:
    virtual ~IPersonPane() = default;
    virtual void SetCurrentPerson(const CPersonBase &person) = 0;
};
