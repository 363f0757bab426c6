import com.sun.net.httpserver.HttpServer;
import java.awt.*;
import java.awt.event.ActionEvent;
import java.awt.event.InputEvent;
import java.awt.event.KeyEvent;
import java.awt.image.BufferedImage;
import java.net.*;
import java.nio.charset.StandardCharsets;
import java.nio.file.*;
import java.util.*;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;
import java.util.function.BooleanSupplier;
import javax.imageio.ImageIO;

/**
 * The real applet in a window (run under Xvfb), fed with pages that the command-line program
 * generates from the projects in the test data: its look, a visitor's logins and tries, a
 * scrambled lock file that is reloaded, and the mail it sends.
 * Arguments: the test data folder, an output folder, the command-line program.
 */
public class ZarnithUiTest extends ZarnithTest {
    private static final int PAGE_MARGIN = 16;
    private static Path data;
    private static Path out;
    private static String cli;
    private static Robot robot;
    private static Frame frame;

    public static void main(String[] args) throws Exception {
        data = Paths.get(args[0]);
        out = Paths.get(args[1]);
        cli = args[2];
        Files.createDirectories(out);
        robot = new Robot();
        robot.setAutoDelay(10);
        defaultProject();
        customProject();
        scrambledLockFile();
        lockFileOverHttp();
        thickBorderSmallBox();
        finish("applet_xvfb");
    }

    // -----------------------------------------------------------------------------------------

    static void defaultProject() throws Exception {
        AppletHost host = site("default", read("default.json"));
        Zarnith applet = open(host);
        equal(pixel(applet, 7, host.height / 2), new Color(0xC0, 0xDC, 0xC0), "default background");
        // Dip: a sunken outer half and a raised inner half.
        that(brightness(pixel(applet, 0, host.height / 2)) < brightness(pixel(applet, 4, host.height / 2)),
                    "the default border is a dip");
        equal(applet.getFont().getStyle() + " " + applet.getFont().getSize(), "1 11", "default font bold 11");
        equal(applet.message, "Enter your user ID and\npassword, then click login.", "default initial message");
        equal(applet.loginButton.getLabel(), "Login", "default button");
        equal(applet.passwordField.getEchoChar(), '*', "the password is masked");
        screenshot(applet, out.resolve("applet-default.png"));

        // A visitor with mouse and keyboard; the case of the user ID does not matter by default.
        click(applet.userField);
        type("ANN");
        click(applet.loginButton);
        waitFor(() -> !host.shown().isEmpty(), 5000);
        equal(host.shown(), Arrays.asList(page(host, "welcome.html")), "the lock's page in the default frame");
        close(applet);
    }

    static void customProject() throws Exception {
        AppletHost host = site("custom", read("custom.json"));
        Zarnith applet = open(host);
        equal(pixel(applet, 9, host.height / 2), new Color(0xFF, 0xF4, 0xD6), "the project's background");
        that(brightness(pixel(applet, 0, host.height / 2)) > brightness(pixel(applet, 5, host.height / 2)),
                    "the project's border is a bump");
        equal(applet.getFont().getStyle() + " " + applet.getFont().getSize(), "0 13", "the project's font");
        equal(applet.loginButton.getLabel(), "Sign in", "the project's button");
        equal(applet.message, "Members only: please sign in\nwith your user ID and password.", "initial message");
        screenshot(applet, out.resolve("applet-custom.png"));

        login(applet, "bob", "secret");
        equal(host.shown(), Arrays.asList(page(host, "members/index.html?a=1|b=2") + " in _top"), "URL and target");
        equal(host.played, Arrays.asList(page(host, "ok.au")), "the correct sound");

        for (int i = 1; i <= 4; i++) {
            login(applet, "bob", "nope" + i);
            if (i == 1) {
                equal(applet.message, "The user ID or password\nentered is incorrect.", "incorrect message");
            }
        }
        equal(host.shown().subList(1, host.shown().size()), Arrays.asList(page(host, "sorry.html")),
                     "the fail page after the third try, and nothing after it");
        equal(applet.message, "No more tries \u00a9 Velto", "the fail message");
        that(!applet.userField.isEnabled() && !applet.loginButton.isEnabled(), "no more tries after the fail");
        equal(host.played.size(), 4, "the incorrect sound for every wrong try");
        close(applet);
    }

    static void scrambledLockFile() throws Exception {
        ServerSocket mailServer = new ServerSocket(0, 1, InetAddress.getLoopbackAddress());
        CompletableFuture<List<String>> mailed = smtpServer(mailServer, "250 ok");
        String project = read("file.json").replace("${MAIL_PORT}", Integer.toString(mailServer.getLocalPort()));
        AppletHost host = site("file", project);
        that(!host.parameters.get("File").equals("locks.txt") && !host.parameters.containsKey("Lock0"),
                    "the page names the lock file, scrambled, and carries no lock");
        Zarnith applet = open(host);
        that(waitFor(() -> applet.loginButton.isEnabled() && applet.locksReady, 10000), "the locks load");
        equal(applet.locks, new String[][] {{"carol", "pw\\x", "docs\\guide.html", ""}, {"erin", "", "shop\\a.cgi?x|y", "_top"}},
              "the locks of the scrambled file that the program wrote");
        equal(applet.getForeground(), Color.white, "light text on a dark background");

        login(applet, "CAROL", "pw\\x");
        screenshot(applet, out.resolve("applet-dark.png"));
        equal(applet.message, "Wrong \u00a9\nTry again", "case counts when ignoreCase is 0");
        login(applet, "carol", "pw\\x");
        equal(last(host), page(host, "docs\\guide.html"), "a lock from the scrambled file");
        List<String> mail = mailed.get(10, TimeUnit.SECONDS);
        that(mail.contains("RCPT TO:<owner@example.com>") && mail.contains("QUIT"), "mail on success: " + mail);

        // The author adds a lock; the box picks it up at its next reload.
        generate(out.resolve("file"), project.replace("\"locks\": [",
            "\"locks\": [{\"userId\": \"dave\", \"password\": \"pw\", \"url\": \"dave.html\", \"target\": \"_blank\"},"));
        that(waitFor(() -> applet.locks.length == 3, 10000), "the lock file is reloaded");
        login(applet, "dave", "pw");
        equal(last(host), page(host, "dave.html") + " in _blank", "a lock added since the page opened");

        // A lock file that went missing keeps the locks the box holds.
        Files.delete(out.resolve("file").resolve("locks.txt"));
        Thread.sleep(1500);
        login(applet, "carol", "pw\\x");
        equal(last(host), page(host, "docs\\guide.html"), "the locks outlive a missing lock file");
        close(applet);
    }

    /** A web server with a lock file and sounds whose names need encoding; every answer is a
     *  little slow, so that a reload is under way for a good part of the time. */
    static void lockFileOverHttp() throws Exception {
        List<String> asked = Collections.synchronizedList(new ArrayList<String>());
        HttpServer server = HttpServer.create(new InetSocketAddress(InetAddress.getLoopbackAddress(), 0), 0);
        server.createContext("/", exchange -> {
            String path = exchange.getRequestURI().getRawPath();
            asked.add(path);
            Path file = out.resolve(URLDecoder.decode(path.substring(1), "UTF-8"));
            byte[] body = Files.isRegularFile(file) ? Files.readAllBytes(file) : null;
            try {
                Thread.sleep(300);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
            exchange.sendResponseHeaders(body == null ? 404 : 200, body == null ? -1 : body.length);
            if (body != null) {
                exchange.getResponseBody().write(body);
            }
            exchange.close();
        });
        server.start();
        Path folder = out.resolve("http");
        site("http", "{\"readLocksFromFile\": 1, \"lockFile\": \"my locks#1.txt\", "
            + "\"correctAudio\": \"/s/my ok.au\", \"incorrectAudio\": \"/s/a#b.au\", "
            + "\"locks\": [{\"userId\": \"ann\", \"password\": \"pw\", \"url\": \"in.html\", \"target\": \"\"}]}");
        byte[] lockFile = Files.readAllBytes(folder.resolve("locks.txt"));
        Files.deleteIfExists(folder.resolve("my locks#1.txt"));
        URL base = new URL("http", "127.0.0.1", server.getAddress().getPort(), "/http/login.html");
        AppletHost host = new AppletHost(folder.resolve("login.html").toFile(), base);

        // The file is not there yet: the box waits, and a try does not count.
        Zarnith applet = open(host);
        that(waitFor(() -> asked.size() >= 1, 5000), "the lock file is asked for");
        Thread.sleep(500);
        login(applet, "ann", "wrong");
        equal(applet.shownMessage() + " " + applet.failedTries + " " + applet.loginButton.isEnabled(),
              "Please wait while locks load... 0 false", "waiting for a lock file that is not there yet");
        Files.write(folder.resolve("my locks#1.txt"), lockFile);
        that(waitFor(() -> applet.locksReady, 6000), "the lock file is asked for again within seconds");
        that(asked.contains("/http/my%20locks%231.txt"), "the lock file's name encoded: " + asked);
        login(applet, "ann", "wrong");
        login(applet, "ann", "pw");
        equal(host.played, Arrays.asList(page(host, "a%23b.au"), page(host, "my%20ok.au")), "sound names encoded");
        close(applet);

        // Reloads every second: what the last try said stays in view while they run.
        host.parameters.put("ReloadInterval", "1");
        Zarnith reloading = open(host);
        that(waitFor(() -> reloading.locksReady, 5000), "the locks load");
        login(reloading, "ann", "wrong");
        keepsShowing(reloading, "The user ID or password\nentered is incorrect.", asked);
        login(reloading, "ann", "wrong");
        login(reloading, "ann", "wrong");
        keepsShowing(reloading, "You are not entitled to enter!", asked);
        close(reloading);
        server.stop(0);
    }

    /** Watches the message for a while, through a reload or more. */
    static void keepsShowing(Zarnith applet, String message, List<String> asked) throws Exception {
        int before = asked.size();
        long end = System.currentTimeMillis() + 2500;
        String shown = message;
        while (shown.equals(message) && System.currentTimeMillis() < end) {
            Thread.sleep(20);
            shown = applet.shownMessage();
        }
        equal(shown, message, "the message during reloads");
        that(asked.size() > before, "reloads ran meanwhile");
    }

    /** The thickest border, margin and spacing that the pages allow, down to the smallest box:
     *  texts and controls stay inside the border, and the box keeps its controls while they fit. */
    static void thickBorderSmallBox() throws Exception {
        // Width, height, font size, and whether the controls fit once the spaces and border give way.
        int[][] sizes = {{400, 200, 11, 1}, {150, 120, 11, 1}, {150, 90, 72, 0}, {1, 1, 11, 0}};
        for (int[] size : sizes) {
            AppletHost host = site("thick", String.format("{\"width\": %d, \"height\": %d, \"fontSize\": %d, "
                + "\"borderStyle\": 1, \"borderThickness\": 50, \"margin\": 20, \"spacing\": 20}", size[0], size[1], size[2]));
            Zarnith applet = open(host);
            String what = size[0] + "x" + size[1] + " font " + size[2];
            Rectangle content = applet.contentArea();
            that(new Rectangle(0, 0, size[0], size[1]).contains(content), what + ": the content area inside the box");
            for (Component control : new Component[] {applet.userField, applet.passwordField, applet.loginButton}) {
                boolean shown = control.isVisible() && control.getWidth() > 0 && control.getHeight() > 0;
                that(!shown || content.contains(control.getBounds()), what + ": " + control.getBounds() + " inside " + content);
                that(shown || size[3] == 0, what + ": " + control + " shown");
            }
            // Outside the content area only the background and the border's two shades are drawn.
            BufferedImage picture = robot.createScreenCapture(new Rectangle(applet.getLocationOnScreen(), applet.getSize()));
            Set<Integer> frame = new HashSet<Integer>(Arrays.asList(picture.getRGB(0, 0),
                picture.getRGB(size[0] - 1, size[1] - 1), applet.getBackground().getRGB()));
            int strays = 0;
            for (int y = 0; y < size[1]; y++) {
                for (int x = 0; x < size[0]; x++) {
                    strays += content.contains(x, y) || frame.contains(picture.getRGB(x, y)) ? 0 : 1;
                }
            }
            equal(strays, 0, what + ": pixels drawn outside the content area");
            close(applet);
        }
    }

    // -----------------------------------------------------------------------------------------

    static String read(String name) throws Exception {
        return new String(Files.readAllBytes(data.resolve(name)), StandardCharsets.UTF_8);
    }
    /** A web site folder with the page and lock file that the program generates for a project. */
    static AppletHost site(String name, String project) throws Exception {
        Path folder = out.resolve(name);
        Files.createDirectories(folder);
        generate(folder, project);
        return new AppletHost(folder.resolve("login.html").toFile());
    }

    static void generate(Path folder, String project) throws Exception {
        Files.write(folder.resolve("project.json"), project.getBytes(StandardCharsets.UTF_8));
        String loc = folder.resolve("project.loc").toString();
        run(cli, "build", folder.resolve("project.json").toString(), loc);
        run(cli, "html", loc, "-o", folder.resolve("login.html").toString());
        run(cli, "lockfile", loc, "-o", folder.resolve("locks.txt").toString());
    }

    static Zarnith open(AppletHost host) throws Exception {
        Zarnith applet = new Zarnith();
        EventQueue.invokeAndWait(() -> {
            frame = new Frame("Zarnith");
            frame.setUndecorated(true);
            frame.setLayout(null);
            frame.setBackground(Color.white);
            frame.setBounds(20, 20, host.width + 2 * PAGE_MARGIN, host.height + 2 * PAGE_MARGIN);
            applet.setStub(host);
            applet.setBounds(PAGE_MARGIN, PAGE_MARGIN, host.width, host.height);
            frame.add(applet);
            applet.init();
            frame.setVisible(true);
            applet.validate();
            applet.start();
        });
        robot.waitForIdle();
        robot.delay(500);
        robot.waitForIdle();
        return applet;
    }

    static void close(Zarnith applet) throws Exception {
        EventQueue.invokeAndWait(() -> {
            applet.stop();
            applet.destroy();
            frame.dispose();
        });
    }

    static void login(Zarnith applet, String userId, String password) throws Exception {
        EventQueue.invokeAndWait(() -> {
            applet.userField.setText(userId);
            applet.passwordField.setText(password);
            applet.loginButton.dispatchEvent(new ActionEvent(applet.loginButton, ActionEvent.ACTION_PERFORMED, ""));
        });
    }

    static void click(Component component) {
        Point at = component.getLocationOnScreen();
        robot.mouseMove(at.x + component.getWidth() / 2, at.y + component.getHeight() / 2);
        robot.mousePress(InputEvent.BUTTON1_DOWN_MASK);
        robot.mouseRelease(InputEvent.BUTTON1_DOWN_MASK);
        robot.waitForIdle();
    }

    static void type(String text) {
        for (char c : text.toCharArray()) {
            int key = KeyEvent.getExtendedKeyCodeForChar(c);
            if (Character.isUpperCase(c)) {
                robot.keyPress(KeyEvent.VK_SHIFT);
            }
            robot.keyPress(key);
            robot.keyRelease(key);
            if (Character.isUpperCase(c)) {
                robot.keyRelease(KeyEvent.VK_SHIFT);
            }
        }
        robot.waitForIdle();
    }

    static Color pixel(Component component, int x, int y) {
        Point at = component.getLocationOnScreen();
        return robot.getPixelColor(at.x + x, at.y + y);
    }

    static int brightness(Color colour) {
        return colour.getRed() + colour.getGreen() + colour.getBlue();
    }

    /** Saves the page around the applet, as a visitor would see it. */
    static void screenshot(Component applet, Path file) throws Exception {
        robot.waitForIdle();
        robot.delay(200);
        Point at = applet.getLocationOnScreen();
        Rectangle area = new Rectangle(at.x - PAGE_MARGIN, at.y - PAGE_MARGIN,
                                       applet.getWidth() + 2 * PAGE_MARGIN, applet.getHeight() + 2 * PAGE_MARGIN);
        ImageIO.write(robot.createScreenCapture(area), "png", file.toFile());
    }

    static boolean waitFor(BooleanSupplier condition, long millis) throws InterruptedException {
        long end = System.currentTimeMillis() + millis;
        while (!condition.getAsBoolean()) {
            if (System.currentTimeMillis() > end) {
                return false;
            }
            Thread.sleep(50);
        }
        return true;
    }

    static String page(AppletHost host, String address) throws Exception {
        return new URL(host.documentBase, address).toString();
    }

    static String last(AppletHost host) {
        List<String> shown = host.shown();
        return shown.isEmpty() ? null : shown.get(shown.size() - 1);
    }
}
