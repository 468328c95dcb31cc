import SwiftUI
