#pragma once

// A tab page of the wage-set set-up dialog: it loads one wage set when it is shown and
// remembers which one it shows.
class IWageSetPage
{
public:
    virtual ~IWageSetPage() = default;
    // Loads the wage set; 1 when loaded, 0 when the list could not be read (the loaded set
    // then stays as it was, so the next showing tries again).
    virtual int LoadWageSet(int sid) = 0;
    // The wage set last loaded; 0 before the first load.
    virtual int LoadedSid() const = 0;
};
