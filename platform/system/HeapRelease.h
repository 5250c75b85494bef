#pragma once

// What the C library keeps of the heap the program freed.
class HeapRelease {
public:
    // One heap for every thread. The program's few threads (a background save, Qt's own)
    // allocate little; in a heap of their own, what they freed would stay the process's
    // for good, one heap region per thread.
    static void shareOneHeap();
    // Hands freed heap pages back to the system: the start reads and lays out every note
    // once, and most of what that needed is free afterwards.
    static void trim();
};
