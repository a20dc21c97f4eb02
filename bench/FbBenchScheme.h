#pragma once
// The function-block scheme the benchmarks work on: `blocks` blocks of every logic type, each
// taking the block before it, signalling on every third block up to 62, relay outputs on every
// fifth, and twelve algorithms sharing the blocks in order.

#include "TProgFBClass.h"

#include <QString>

inline void FillBenchScheme(TProgFBClass& fb, int blocks = TProgFBClass::FBCapacity) {
    for (int i = 0; i < TProgFBClass::Slots; ++i)
        fb.ClearRecord(i);
    for (int i = 0; i < blocks; ++i) {
        const int type = 1 + i % 9;
        fb.SetTypeByte(i, type);
        if (type == 6) fb.SetSubtype(i, i % 6);
        for (int j = 0; j < 4; ++j) {
            fb.SetInType(i, j, j % 2);
            fb.SetInKind(i, j, j == 0 ? 1 : j == 1 ? 0 : j == 2 ? 2 : 4);
            fb.SetInNum(i, j, j == 0 ? i : 1 + (i + j) % 40);
        }
        if (type == 8) {
            fb.SetIn8Kind(i, 1);
            fb.SetIn8Num(i, i);
            fb.SetX1Num(i, 3);
            fb.SetCompUstText(i, "12,5");
        }
        if (i < 62 && i % 3 == 0) {
            fb.SetSigTipS(i, 1 + i % 3);
            fb.SetSigNTabS(i, 1 + i % 12);
        }
        if (i % 5 == 4) fb.SetB9Plus(i, 1 + i % 5, 0x11);
    }
    fb.AlgTable.Reset();
    constexpr int algorithms = 12;
    fb.AlgTable.SetCount(algorithms);
    const int per = blocks / algorithms;
    for (int a = 0; a < algorithms; ++a) {
        fb.SetFbText(a, QString("Алгоритм %1").arg(a + 1));
        const int last = a == algorithms - 1 ? blocks : per * (a + 1);
        for (int b = per * a; b < last; ++b)
            fb.AlgTable.SetEntry(a, b - per * a, b + 1);
        fb.AlgTable.SetMark(per * a, per * a + 1);
    }
}
