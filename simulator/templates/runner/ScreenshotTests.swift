import XCTest

// Von Velorance Studio erzeugt — wird vor jedem Lauf neu geschrieben, Änderungen gehen verloren.
// Spielt jeden Shot des Plans pro Sprache ab, legt die Bildschirmfotos im Documents-Ordner des
// Runners ab und meldet den Fortschritt über Konsolenmarker.
final class {{TEST_NAME}}: XCTestCase {
    // Sprachen des Plans; "SCREENSHOT_LANGS" (kommagetrennt) hat Vorrang, wenn gesetzt.
    private let planLanguages: [String] = [{{LANGUAGES}}]
    // Ordnername pro Sprache, vom Programm vorgegeben.
    private let languageFolders: [String: String] = [{{LANGUAGE_FOLDERS}}]
    private let appLaunchEnvironment: [String: String] = [{{ENVIRONMENT}}]
    private let appLaunchArguments: [String] = [{{ARGUMENTS}}]
    private var locationRequests = 0

    override func setUpWithError() throws {
        continueAfterFailure = false
    }

    func testScreenshots() throws {
        let environment = ProcessInfo.processInfo.environment
        var bundleID = environment["SR_BUNDLE_ID"] ?? ""
        if bundleID.isEmpty { bundleID = environment["UIDUMP_BUNDLE_ID"] ?? "" }
        var languages = planLanguages
        if let list = environment["SCREENSHOT_LANGS"], !list.isEmpty {
            languages = list.split(separator: ",").map { String($0) }
        }
        let documents = documentsFolder()
        marker("VRS-DOCS \(documents.path)")

        for language in languages {
            marker("SHOT-START \(language)")
            let folder = documents.appendingPathComponent("screenshots", isDirectory: true)
                .appendingPathComponent(folderName(language), isDirectory: true)
            try FileManager.default.createDirectory(at: folder, withIntermediateDirectories: true)
{{SHOTS}}
            marker("SHOT-DONE \(language)")
        }
    }

    // Startet die App frisch in der Sprache, mit den Startvariablen und -argumenten des Plans.
    private func launchApp(_ bundleID: String, language: String, location: String?) -> XCUIApplication {
        if let location = location {
            setSimulatorLocation(location)
        }
        let app = bundleID.isEmpty ? XCUIApplication() : XCUIApplication(bundleIdentifier: bundleID)
        app.terminate()
        app.launchEnvironment = appLaunchEnvironment
        app.launchArguments = ["-AppleLanguages", "(\(language))", "-AppleLocale", language] + appLaunchArguments
        app.launch()
        _ = app.wait(for: .runningForeground, timeout: 20)
        return app
    }

    // Bittet das Startskript per Marker, den Standort zu setzen, und wartet auf seine Quittung.
    private func setSimulatorLocation(_ coordinate: String) {
        locationRequests += 1
        let receipt = documentsFolder().appendingPathComponent("location-\(locationRequests).ack")
        try? FileManager.default.removeItem(at: receipt)
        marker("VRS-SET-LOCATION \(locationRequests) \(coordinate)")
        let deadline = Date().addingTimeInterval(15)
        while !FileManager.default.fileExists(atPath: receipt.path) && Date() < deadline {
            Thread.sleep(forTimeInterval: 0.2)
        }
    }

    private func capture(language: String, index: Int, file: String, folder: URL) throws {
        let png = XCUIScreen.main.screenshot().pngRepresentation
        try png.write(to: folder.appendingPathComponent(file), options: .atomic)
        marker("SHOT-CAPTURED \(language) \(index) \(file)")
    }

    private func folderName(_ language: String) -> String {
        if let folder = languageFolders[language] { return folder }
        let unsafe = CharacterSet(charactersIn: "/\\:").union(.controlCharacters)
        let cleaned = String(language.unicodeScalars.map { unsafe.contains($0) ? "_" : Character($0) })
        return cleaned.isEmpty || cleaned.hasPrefix(".") ? "_" + cleaned : cleaned
    }

    private func documentsFolder() -> URL {
        FileManager.default.urls(for: .documentDirectory, in: .userDomainMask)[0]
    }

    // Marker gehen ungepuffert auf die Fehlerausgabe, damit xcodebuild sie sofort zeigt.
    private func marker(_ text: String) {
        FileHandle.standardError.write((text + "\n").data(using: .utf8)!)
    }
}

{{STEP_HELPERS}}