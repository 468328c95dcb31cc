// Element nach Identifier (8 s), dann nach Label (4 s) suchen.
private func vrsElement(_ app: XCUIApplication, selector: String, label: String) -> XCUIElement? {
    if !selector.isEmpty {
        let byIdentifier = app.descendants(matching: .any).matching(identifier: selector).firstMatch
        if byIdentifier.waitForExistence(timeout: 8) { return byIdentifier }
    }
    if !label.isEmpty {
        let byLabel = app.descendants(matching: .any).matching(NSPredicate(format: "label == %@", label)).firstMatch
        if byLabel.waitForExistence(timeout: 4) { return byLabel }
    }
    return nil
}

// Tippen: Element, sonst normalisierte Koordinate.
private func vrsTap(_ app: XCUIApplication, selector: String, label: String, at point: CGVector?) {
    if let element = vrsElement(app, selector: selector, label: label) {
        element.tap()
    } else if let point = point {
        app.coordinate(withNormalizedOffset: point).tap()
    }
}

// Text eingeben: ins gefundene Feld, sonst ins Feld mit dem Fokus.
private func vrsType(_ app: XCUIApplication, selector: String, text: String) {
    if let element = vrsElement(app, selector: selector, label: "") {
        element.tap()
        element.typeText(text)
    } else {
        app.typeText(text)
    }
}

// Wischen: am Element, sonst ab der normalisierten Koordinate.
private func vrsSwipe(_ app: XCUIApplication, selector: String, label: String, at point: CGVector?, direction: String) {
    if let element = vrsElement(app, selector: selector, label: label) {
        switch direction {
        case "down": element.swipeDown()
        case "left": element.swipeLeft()
        case "right": element.swipeRight()
        default: element.swipeUp()
        }
        return
    }
    guard let point = point else { return }
    var dx: CGFloat = 0
    var dy: CGFloat = 0
    switch direction {
    case "down": dy = 0.3
    case "left": dx = -0.3
    case "right": dx = 0.3
    default: dy = -0.3
    }
    let start = app.coordinate(withNormalizedOffset: point)
    let end = app.coordinate(withNormalizedOffset: CGVector(dx: min(max(point.dx + dx, 0), 1), dy: min(max(point.dy + dy, 0), 1)))
    start.press(forDuration: 0.05, thenDragTo: end)
}
