import XCTest

// Von Velorance Studio erzeugt — der interaktive Treiber. Er startet die App und führt dann
// Befehle aus "cmd.txt" im Documents-Ordner aus ("<seq>|<VERB>|<arg>", VERB: TAP, TAPXY, DUMP,
// STOP). Nach jedem Befehl schreibt er "state.txt" ("SEQ <seq>" und den Elementbaum) und
// "shot.png". "ready.txt" meldet, dass er bereit ist.
final class {{TEST_NAME}}: XCTestCase {
    func testDrive() throws {
        let environment = ProcessInfo.processInfo.environment
        let bundleID = environment["UIDUMP_BUNDLE_ID"] ?? ""
        let app = bundleID.isEmpty ? XCUIApplication() : XCUIApplication(bundleIdentifier: bundleID)
        app.launch()
        _ = app.wait(for: .runningForeground, timeout: 30)

        let files = FileManager.default
        let documents = files.urls(for: .documentDirectory, in: .userDomainMask)[0]
        let commandFile = documents.appendingPathComponent("cmd.txt")
        let stateFile = documents.appendingPathComponent("state.txt")
        try? files.createDirectory(at: documents, withIntermediateDirectories: true)
        try? files.removeItem(at: commandFile)
        try? files.removeItem(at: stateFile)
        let readyFile = documents.appendingPathComponent("ready.txt")
        try? files.removeItem(at: readyFile)
        FileHandle.standardError.write("VRS-DOCS \(documents.path)\n".data(using: .utf8)!)
        try "ready".write(to: readyFile, atomically: true, encoding: .utf8)

        var lastSequence = 0
        var idleSince = Date()
        // Ohne Befehle endet der Treiber nach zehn Minuten von selbst.
        while Date().timeIntervalSince(idleSince) < 600 {
            guard let line = try? String(contentsOf: commandFile, encoding: .utf8) else {
                Thread.sleep(forTimeInterval: 0.1)
                continue
            }
            let parts = line.trimmingCharacters(in: .whitespacesAndNewlines)
                .split(separator: "|", maxSplits: 2, omittingEmptySubsequences: false).map { String($0) }
            guard parts.count >= 2, let sequence = Int(parts[0]), sequence > lastSequence else {
                Thread.sleep(forTimeInterval: 0.1)
                continue
            }
            lastSequence = sequence
            idleSince = Date()
            let argument = parts.count > 2 ? parts[2] : ""
            switch parts[1] {
            case "TAP":
                let element = app.descendants(matching: .any).matching(identifier: argument).firstMatch
                if element.waitForExistence(timeout: 4) { element.tap() }
            case "TAPXY":
                let numbers = argument.split(separator: ",").compactMap { Double($0) }
                if numbers.count == 2 {
                    app.coordinate(withNormalizedOffset: CGVector(dx: numbers[0], dy: numbers[1])).tap()
                }
            case "STOP":
                writeState(sequence, app: app, to: stateFile, shot: documents.appendingPathComponent("shot.png"))
                return
            default:
                break
            }
            writeState(sequence, app: app, to: stateFile, shot: documents.appendingPathComponent("shot.png"))
        }
    }

    private func writeState(_ sequence: Int, app: XCUIApplication, to file: URL, shot: URL) {
        try? XCUIScreen.main.screenshot().pngRepresentation.write(to: shot, options: .atomic)
        let text = "SEQ \(sequence)\n" + app.debugDescription + "\n"
        try? text.write(to: file, atomically: true, encoding: .utf8)
    }
}
