import java.awt.Color;
import java.io.*;
import java.net.*;
import java.nio.charset.StandardCharsets;
import java.util.*;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.TimeUnit;

/**
 * The applet's window-free logic: unscrambling, lock records and files, login decisions,
 * parameters and mail. With "--cli PROGRAM" it checks instead that the applet unscrambles what
 * the command-line program scrambles. Also the checking helpers of the window test.
 */
public class ZarnithTest {
    private static final Random random = new Random(20260501);
    private static int checks;
    private static int failures;

    public static void main(String[] args) throws Exception {
        if (args.length == 2 && args[0].equals("--cli")) {
            unscramblesWhatTheProgramScrambles(args[1]);
            finish("applet_cli_scramble");
        }
        unscrambling();
        lockRecordsAndFiles();
        loginDecisions();
        parameters();
        mail();
        finish("applet_logic");
    }

    static void that(boolean condition, String what) {
        checks++;
        if (!condition) {
            failures++;
            System.err.println("FAILED: " + what);
        }
    }

    static void equal(Object actual, Object expected, String what) {
        that(Objects.deepEquals(actual, expected), what + ": expected <" + Arrays.deepToString(new Object[] {expected})
             + "> but got <" + Arrays.deepToString(new Object[] {actual}) + ">");
    }

    static void finish(String program) {
        System.out.println(program + ": " + checks + " checks, " + failures + " failed");
        System.exit(failures == 0 && checks > 0 ? 0 : 1);
    }

    /** The generator's scrambling, written again from its description (square table and all),
     *  to check the applet's reverse against an independent forward direction. */
    static String scramble(String text) {
        String alphabet = "";
        for (char c = 32; c <= 126; c++) {
            alphabet += c == '"' ? "" : String.valueOf(c);
        }
        char[][] table = new char[94][94];
        for (int row = 0; row < 94; row++) {
            for (int column = 0; column < 94; column++) {
                table[row][column] = alphabet.charAt((row + column) % 94);
            }
        }
        String key = "pQuvaTeLm".toUpperCase().replaceAll("[^A-Z0-9]", "");
        int[] position = {0};
        key = encipher(key + alphabet, key, position, alphabet, table);
        position[0] = key.chars().sum() % 93;
        return encipher(text, key, position, alphabet, table);
    }

    private static String encipher(String text, String key, int[] position, String alphabet, char[][] table) {
        StringBuilder out = new StringBuilder();
        int carry = 0;
        for (char ch : text.toCharArray()) {
            int x = alphabet.indexOf(ch);
            if (x < 0) {
                out.append(ch);
                continue;
            }
            if (position[0] >= key.length()) {
                position[0] %= key.length();
            }
            int y = alphabet.indexOf(key.charAt(position[0]));
            for (x += carry; x >= 94; x -= 94) {
            }
            out.append(table[x][y]);
            position[0] += 1 + carry;
            carry = Math.abs(carry - x);
        }
        return out.toString();
    }

    /** Printable ASCII with the double quote, now and then a tab or, when asked, a letter
     *  beyond ASCII: the scrambler leaves those two alone. */
    static String randomText(int maxLength, boolean beyondAscii) {
        StringBuilder text = new StringBuilder();
        for (int i = random.nextInt(maxLength + 1); i > 0; i--) {
            int pick = random.nextInt(40);
            text.append(pick == 0 ? '\t' : pick == 1 && beyondAscii ? '\u00e9' : (char) (32 + random.nextInt(95)));
        }
        return text.toString();
    }

    static void unscrambling() {
        for (int i = 0; i < 2000; i++) {
            String plain = randomText(60, true);
            equal(Zarnith.unscramble(scramble(plain)), plain, "unscramble(scramble(\"" + plain + "\"))");
        }
        that(!scramble("ann| |a.html| ").equals("ann| |a.html| "), "scrambling changes a record");
        for (String name : Zarnith.SCRAMBLED) {
            equal(Zarnith.secret(name, null, true), "", name + " absent");
            equal(Zarnith.secret(name, scramble("me@example.com"), true), "me@example.com", name + " scrambled");
            equal(Zarnith.secret(name, "ok.au", false), "ok.au", name + " plain");
        }
    }

    static void lockRecordsAndFiles() throws MalformedURLException {
        equal(Zarnith.parseLockRecord("ann| |a.html| "), new String[] {"ann", "", "a.html", ""}, "blank password, target");
        equal(Zarnith.parseLockRecord("bob|pw|go?a=1|b=2|_top"), new String[] {"bob", "pw", "go?a=1|b=2", "_top"}, "| in URL");
        equal(Zarnith.parseLockRecord("cy|  |u|x"), new String[] {"cy", "  ", "u", "x"}, "two blanks are a password");
        for (String bad : new String[] {null, "", "ann|pw|a.html", "|pw|a.html|", "ann|pw||_top", " |pw|a.html| "}) {
            equal(Zarnith.parseLockRecord(bad), null, "malformed record " + bad);
        }
        for (boolean encrypt : new boolean[] {false, true}) {
            Map<String, String> page = new HashMap<String, String>();
            String[] records = {"ann| |a.html| ", "broken", "bob|pw|b.html|main", null, "eve|pw|e.html| "};
            for (int i = 0; i < records.length; i++) {
                page.put("Lock" + i, records[i] == null ? null : encrypt ? scramble(records[i]) : records[i]);
            }
            equal(Zarnith.locksFromParameters(page::get, encrypt), new String[][] {{"ann", "", "a.html", ""},
                  {"bob", "pw", "b.html", "main"}}, "parameter locks up to the first gap, encrypt " + encrypt);

            for (int round = 0; round < 200; round++) {
                // Backslashes and "=" in the records, and the scrambler making more of them.
                String[] lock = {"u\\=" + randomText(8, false).replace("|", ""), "p\\" + randomText(8, false).replace("|", ""),
                                 "dir\\page" + round + ".html?a=b|c", "_top"};
                String line = String.join("|", lock);
                String file = "\uFEFFLock0=" + (encrypt ? scramble(line) : line) + "\r\nLock1=not|a|lock\r\n\r\nLockX=a|b|c|d\n";
                equal(Zarnith.locksFromFile(file.replace("\\", "\\\\"), encrypt), new String[][] {lock},
                      "lock file line " + line + ", encrypt " + encrypt);
            }
        }
        equal(Zarnith.undoubleBackslashes("a\\\\b\\\\\\\\c\\d\\"), "a\\b\\\\c\\d\\", "undoubled, lone ones kept");
        equal(Zarnith.decodeFileText("caf\u00e9".getBytes(StandardCharsets.UTF_8)), "caf\u00e9", "UTF-8 lock file");
        equal(Zarnith.decodeFileText(new byte[] {'c', 'a', 'f', (byte) 0xE9}), "caf\u00e9", "Windows lock file");

        URL page = new URL("http://example.com/site/login.html?a=1#top");
        String[] names = {"my locks.txt", "a#b.txt", "50%?.au", "caf\u00e9.au", "c:lock.txt", "../up.txt"};
        String[] addresses = {"site/my%20locks.txt", "site/a%23b.txt", "site/50%25%3F.au", "site/caf%C3%A9.au",
            "site/c%3Alock.txt", "up.txt"};
        for (int i = 0; i < names.length; i++) {
            equal(Zarnith.fileBesidePage(page, names[i]).toString(), "http://example.com/" + addresses[i], names[i]);
        }
    }

    static void loginDecisions() {
        String[][] locks = {{"ann", "Secret", "a.html", ""}, {"Bob", "", "b.html", "_top"}};
        equal(Zarnith.findLock(locks, "ANN", "secret", true), 0, "case folded when ignoreCase is on");
        equal(Zarnith.findLock(locks, "ANN", "Secret", false), -1, "user ID case counts when ignoreCase is 0");
        equal(Zarnith.findLock(locks, "ann", "secret", false), -1, "password case counts when ignoreCase is 0");
        equal(Zarnith.findLock(locks, "Bob", " ", false), -1, "a blank is not an empty password");
        int[] outcomes = new int[4];
        for (int failed = 0; failed < outcomes.length; failed++) {
            outcomes[failed] = Zarnith.loginOutcome(locks, "ann", "wrong", true, failed, 3);
        }
        int incorrect = Zarnith.OUTCOME_INCORRECT;
        int fail = Zarnith.OUTCOME_FAIL;
        equal(outcomes, new int[] {incorrect, incorrect, fail, fail}, "three tries, then the fail");
        equal(Zarnith.loginOutcome(locks, "bob", "", true, 2, 3), 1, "the last try may still succeed");
        equal(Zarnith.loginOutcome(locks, "x", "y", true, 0, 1), fail, "a single try");
    }

    static void parameters() {
        String[] numbers = {"Retries=3", "FontSize=11", "FontStyle=1", "Spacing=5", "Margin=5", "BorderThickness=5",
            "BorderStyle=4", "ReloadInterval=300", "ignoreCase=1", "Encrypt=0"};
        for (String number : numbers) {
            String name = number.split("=")[0];
            int expected = Integer.parseInt(number.split("=")[1]);
            equal(Zarnith.number(name, null, 0, 1000), expected, name + " absent");
            equal(Zarnith.number(name, "twelve", 0, 1000), expected, name + " not a number");
            equal(Zarnith.number(name, " 2 ", 0, 1000), 2, name + " given");
        }
        equal(Zarnith.number("Retries", "0", 1, 1000), 3, "no tries at all is no choice");
        Color light = new Color(0xC0, 0xDC, 0xC0);
        equal(Zarnith.colour("BackgroundColor", null), light, "background absent");
        equal(Zarnith.colour("BorderColor", "FF0080"), new Color(255, 0, 128), "colour red first");
        equal(Zarnith.colour("BorderColor", "#ff0080"), new Color(255, 0, 128), "colour with #");
        equal(Zarnith.colour("BorderColor", "FF008") + " " + Zarnith.colour("BorderColor", "GG0080"), light + " " + light,
              "colours that are no colours");
        String[] texts = {"InitialMessage=Enter your user ID and\npassword, then click login.",
            "IncorrectMessage=The user ID or password\nentered is incorrect.", "FailMessage=You are not entitled to enter!",
            "UserLabel=User:", "PasswordLabel=Password:", "LoginLabel=Login", "LoadingMessage=Please wait while locks load...",
            "FontFamily=Arial"};
        for (String text : texts) {
            String name = text.substring(0, text.indexOf('='));
            equal(Zarnith.displayText(Zarnith.text(name, null)), text.substring(name.length() + 1), name + " absent");
        }
        equal(Zarnith.displayText("Caf&#233; &#169;\\nline ''2''"), "Caf\u00e9 \u00a9\nline ''2''", "references, breaks");
        String lookalikes = "&#; &#x41; &#99999999999; &#0; end\\";
        equal(Zarnith.displayText(lookalikes), lookalikes, "text that only looks like a reference or a break");

        String[] installed = {"DejaVu Sans", "Liberation Sans", "Liberation Serif", "Arial Black"};
        equal(Zarnith.fontFamily("Arial", installed), "Liberation Sans", "Arial's stand-in");
        equal(Zarnith.fontFamily("arial black", installed), "Arial Black", "an installed family");
        equal(Zarnith.fontFamily("Courier New", installed), "Monospaced", "no mono family installed");
        equal(Zarnith.fontFamily("Wingdings", installed), "SansSerif", "an unknown family");
    }

    /** Answers one SMTP client on the loopback address; completes with the lines it sent. */
    static CompletableFuture<List<String>> smtpServer(ServerSocket server, String recipientReply) {
        return CompletableFuture.supplyAsync(() -> {
            List<String> lines = new ArrayList<String>();
            try (Socket client = server.accept()) {
                BufferedReader in = new BufferedReader(new InputStreamReader(client.getInputStream(), StandardCharsets.UTF_8));
                Writer out = new OutputStreamWriter(client.getOutputStream(), StandardCharsets.UTF_8);
                out.write("220 ready\r\n");
                out.flush();
                boolean inData = false;
                for (String line; (line = in.readLine()) != null;) {
                    lines.add(line);
                    boolean quit = !inData && line.equals("QUIT");
                    String reply = inData ? (line.equals(".") ? "250 queued" : null) : line.startsWith("HELO") ? "250-hi\r\n250 ok"
                        : line.startsWith("RCPT") ? recipientReply : line.equals("DATA") ? "354 go on" : quit ? "221 bye" : "250 ok";
                    inData = inData ? !line.equals(".") : line.equals("DATA");
                    if (reply != null) {
                        out.write(reply + "\r\n");
                        out.flush();
                    }
                    if (quit) {
                        break;
                    }
                }
            } catch (IOException e) {
                lines.add("server failed: " + e);
            }
            return lines;
        });
    }

    static void mail() throws Exception {
        String[] servers = {"mail.example.com", "127.0.0.1:2525", "::1", "[::1]:26", "host:port"};
        String[] expected = {"mail.example.com 25", "127.0.0.1 2525", "::1 25", "::1 26", "host:port 25"};
        for (int i = 0; i < servers.length; i++) {
            equal(Zarnith.mailServerHost(servers[i]) + " " + Zarnith.mailServerPort(servers[i]), expected[i], servers[i]);
        }
        ServerSocket server = new ServerSocket(0, 1, InetAddress.getLoopbackAddress());
        CompletableFuture<List<String>> received = smtpServer(server, "250 recipient ok");
        that(Zarnith.sendMail("127.0.0.1:" + server.getLocalPort(), "me@example.com", "Zarnith: correct login",
                              "User ID: ann\n.hidden line", 5000), "the server took the message");
        List<String> lines = received.get(5, TimeUnit.SECONDS);
        that(lines.get(0).startsWith("HELO ["), "HELO with an address literal: " + lines);
        equal(lines.subList(1, 4), Arrays.asList("MAIL FROM:<me@example.com>", "RCPT TO:<me@example.com>", "DATA"), "envelope");
        that(lines.contains("Subject: Zarnith: correct login") && lines.contains("To: <me@example.com>"), "headers");
        that(lines.contains("..hidden line") && lines.contains("User ID: ann"), "body, with its dot doubled");
        equal(lines.subList(lines.size() - 2, lines.size()), Arrays.asList(".", "QUIT"), "ending");

        ServerSocket refusing = new ServerSocket(0, 1, InetAddress.getLoopbackAddress());
        received = smtpServer(refusing, "550 no such user");
        that(!Zarnith.sendMail("127.0.0.1:" + refusing.getLocalPort(), "x@example.com", "s", "b", 5000), "refused");
        lines = received.get(5, TimeUnit.SECONDS);
        equal(lines.subList(1, lines.size()), Arrays.asList("MAIL FROM:<x@example.com>", "RCPT TO:<x@example.com>", "QUIT"),
              "no data after a refusal, and a polite end");

        int closedPort;
        try (ServerSocket probe = new ServerSocket(0)) {
            closedPort = probe.getLocalPort();
        }
        long start = System.currentTimeMillis();
        that(!Zarnith.sendMail("127.0.0.1:" + closedPort, "x@example.com", "s", "b", 5000), "nobody listening");
        that(!Zarnith.sendMail("no-such-host.invalid", "x@example.com", "s", "b", 5000), "unknown host");
        that(System.currentTimeMillis() - start < 5000, "failing to mail is quick");
        that(!Zarnith.smtpDialogue(new BufferedReader(new StringReader("")), new StringWriter(), "[x]", "a@b", "a@b", ""),
             "a server that hangs up at once");
    }

    // -----------------------------------------------------------------------------------------
    // Against the command-line program

    static String run(String... command) throws IOException, InterruptedException {
        Process process = new ProcessBuilder(command).redirectError(ProcessBuilder.Redirect.INHERIT).start();
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        try (InputStream in = process.getInputStream()) {
            byte[] buffer = new byte[4096];
            for (int n; (n = in.read(buffer)) > 0;) {
                out.write(buffer, 0, n);
            }
        }
        equal(process.waitFor(), 0, "exit status of " + Arrays.toString(command));
        return new String(out.toByteArray(), StandardCharsets.UTF_8);
    }

    static void unscramblesWhatTheProgramScrambles(String cli) throws Exception {
        for (int i = 0; i < 60; i++) {
            String plain = randomText(40, false) + (i % 2 == 0 ? "|\\\"" : "");
            equal(Zarnith.unscramble(run(cli, "scramble", plain)), plain, "unscramble of the program's \"" + plain + "\"");
        }
    }
}
