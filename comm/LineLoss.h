#pragma once

// Why a TCP peer's line was lost, for the front-ends that name it. A serial hang-up carries no
// cause of its own.
enum class LineLoss {
    None,
    PeerClosed,     // the peer closed the connection
    ReceiveFailed,  // the system failed a receive on the connection
};
