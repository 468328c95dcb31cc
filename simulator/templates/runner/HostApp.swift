import SwiftUI

// Von Velorance Studio erzeugt. Die Host-App trägt nur den UI-Test; sie zeigt selbst nichts an.
@main
struct {{APP_NAME}}App: App {
    var body: some Scene {
        WindowGroup {
            Text("{{APP_NAME}}")
        }
    }
}
