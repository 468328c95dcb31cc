// Velorance Studio recorder: reports every tap in the app under test as one line of JSON
// to 127.0.0.1 on the port in VRR_PORT (default 52673).
//
// Keys: "kind" ("tap"), "selector", "identifier", "label", "type", "x", "y" (points),
// "nx", "ny" (0…1 of the screen).

import Foundation
import ObjectiveC
import UIKit

private let vrrQueue = DispatchQueue(label: "de.norvane.velorance.recorder")
private var vrrSocket: Int32 = -1
private var vrrTouchStarts: [ObjectIdentifier: CGPoint] = [:]

private func vrrPort() -> UInt16 {
    if let text = ProcessInfo.processInfo.environment["VRR_PORT"], let port = UInt16(text) {
        return port
    }
    return 52673
}

// Connects on first use and again after the listener went away. Runs on vrrQueue only.
private func vrrConnect() -> Bool {
    if vrrSocket >= 0 { return true }
    let fd = socket(AF_INET, SOCK_STREAM, 0)
    if fd < 0 { return false }
    var noSigPipe: Int32 = 1
    setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &noSigPipe, socklen_t(MemoryLayout<Int32>.size))
    var address = sockaddr_in()
    address.sin_len = UInt8(MemoryLayout<sockaddr_in>.size)
    address.sin_family = sa_family_t(AF_INET)
    address.sin_port = vrrPort().bigEndian
    address.sin_addr.s_addr = inet_addr("127.0.0.1")
    let result = withUnsafePointer(to: &address) {
        $0.withMemoryRebound(to: sockaddr.self, capacity: 1) {
            connect(fd, $0, socklen_t(MemoryLayout<sockaddr_in>.size))
        }
    }
    if result != 0 {
        close(fd)
        return false
    }
    vrrSocket = fd
    return true
}

// True when the listener has closed this connection: its end has arrived or it was reset.
// Looks without waiting and takes nothing.
private func vrrPeerClosed(_ fd: Int32) -> Bool {
    var byte: UInt8 = 0
    let got = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT)
    if got == 0 { return true }
    if got < 0 { return errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR }
    return false
}

private func vrrDisconnect() {
    close(vrrSocket)
    vrrSocket = -1
}

private func vrrSend(_ object: [String: Any]) {
    guard JSONSerialization.isValidJSONObject(object),
          var data = try? JSONSerialization.data(withJSONObject: object, options: []) else { return }
    data.append(0x0A)
    let line = data
    vrrQueue.async {
        // A send on a connection the listener closed would still succeed here and the tap
        // would be lost, so a closed one is replaced first. A send that fails all the same
        // (closed just then) is made again on a new connection.
        for _ in 0..<2 {
            if vrrSocket >= 0 && vrrPeerClosed(vrrSocket) { vrrDisconnect() }
            guard vrrConnect() else { return }
            let sent = line.withUnsafeBytes { buffer -> Int in
                guard let base = buffer.baseAddress else { return -1 }
                return send(vrrSocket, base, buffer.count, 0)
            }
            if sent == line.count { return }
            vrrDisconnect()
        }
    }
}

// The nearest view (itself or an ancestor) that names itself for accessibility.
private func vrrDescribe(_ view: UIView) -> (identifier: String, label: String, type: String) {
    var current: UIView? = view
    while let candidate = current {
        let identifier = candidate.accessibilityIdentifier ?? ""
        let label = candidate.accessibilityLabel ?? ""
        if !identifier.isEmpty || !label.isEmpty {
            return (identifier, label, String(describing: type(of: candidate)))
        }
        current = candidate.superview
    }
    return ("", "", String(describing: type(of: view)))
}

private func vrrReport(_ touch: UITouch) {
    guard let window = touch.window else { return }
    let point = touch.location(in: window)
    let bounds = window.bounds
    guard bounds.width > 0, bounds.height > 0 else { return }
    let hit = window.hitTest(point, with: nil) ?? window
    let described = vrrDescribe(hit)
    let selector = described.identifier.isEmpty ? described.label : described.identifier
    vrrSend([
        "kind": "tap",
        "selector": selector,
        "identifier": described.identifier,
        "label": described.label,
        "type": described.type,
        "x": Double(point.x),
        "y": Double(point.y),
        "nx": Double(point.x / bounds.width),
        "ny": Double(point.y / bounds.height),
    ])
}

// Sees every event before the app does; a touch that ends close to where it began is a tap.
private func vrrObserve(_ event: UIEvent) {
    guard event.type == .touches, let touches = event.allTouches else { return }
    for touch in touches {
        let key = ObjectIdentifier(touch)
        switch touch.phase {
        case .began:
            if let window = touch.window { vrrTouchStarts[key] = touch.location(in: window) }
        case .ended:
            defer { vrrTouchStarts[key] = nil }
            guard let window = touch.window, let start = vrrTouchStarts[key] else { continue }
            let end = touch.location(in: window)
            if hypot(end.x - start.x, end.y - start.y) < 12 { vrrReport(touch) }
        case .cancelled:
            vrrTouchStarts[key] = nil
        default:
            break
        }
    }
}

extension UIApplication {
    @objc func vrr_sendEvent(_ event: UIEvent) {
        vrrObserve(event)
        // Swapped implementations: this calls the original sendEvent(_:).
        vrr_sendEvent(event)
    }
}

@_cdecl("vrr_start")
public func vrrStart() {
    let original = #selector(UIApplication.sendEvent(_:))
    let replacement = #selector(UIApplication.vrr_sendEvent(_:))
    guard let originalMethod = class_getInstanceMethod(UIApplication.self, original),
          let replacementMethod = class_getInstanceMethod(UIApplication.self, replacement) else { return }
    method_exchangeImplementations(originalMethod, replacementMethod)
}
