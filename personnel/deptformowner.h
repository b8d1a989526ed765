#pragma once

// The department manager as the department form sees it. The manager opens the form over its
// department grid and implements these; the form calls them after a save.
class IDeptFormOwner
{
public:
    virtual ~IDeptFormOwner() = default;
    // Selects the grid row of the department and scrolls it into view.
    virtual void SelectDeptRow(int did) = 0;
    // Rewrites the ParentArr paths of the department and its sub-departments for a new parent,
    // on the program's connection (inside the caller's transaction). False when it failed.
    virtual bool UpdateDeptParent(int did, int parentId) = 0;
    // Stores the grid's row order as the departments' order and reloads grid and tree.
    virtual void OnRefresh() = 0;
    // Writes each grid row's position as its department's Ord.
    virtual void SaveRowOrder() = 0;
    // Rebuilds the department grid and tree.
    virtual void LoadDeptTree() = 0;
    // The grid columns of the department's key (DID) and of its parent (ParentID).
    virtual int DeptKeyColumn() const = 0;
    virtual int DeptParentColumn() const = 0;
};
