import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AudioClip;
import java.awt.Button;
import java.awt.Color;
import java.awt.Component;
import java.awt.Dimension;
import java.awt.EventQueue;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.GraphicsEnvironment;
import java.awt.Rectangle;
import java.awt.RenderingHints;
import java.awt.TextField;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;
import java.io.BufferedReader;
import java.io.BufferedWriter;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.io.OutputStreamWriter;
import java.io.Writer;
import java.net.Inet6Address;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.net.MalformedURLException;
import java.net.Socket;
import java.net.URL;
import java.net.URLConnection;
import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.Charset;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.text.SimpleDateFormat;
import java.util.ArrayList;
import java.util.Date;
import java.util.List;
import java.util.Locale;
import java.util.function.Function;

/**
 * The login box that Zarnith puts on a web page: asks the visitor for a user ID and a password,
 * checks them against the locks of the page or of its lock input file, and sends the browser to
 * the matching lock's address.
 *
 * Deliberately a single class (listeners are implemented here, threads are lambdas) so that the
 * page needs exactly one file beside it. Everything that needs no window is a static method.
 */
public class Zarnith extends Applet implements ActionListener {
    private static final long serialVersionUID = 1L;

    /** Every parameter with the value it takes when the page leaves it out. The generator omits
     *  a parameter exactly when it equals this value, so these must stay in step with it. */
    static final String[][] DEFAULTS = {
        {"Encrypt", "0"},
        {"CorrectEmail", ""},
        {"CorrectAudio", ""},
        {"IncorrectMessage", "The user ID or password\\nentered is incorrect."},
        {"IncorrectAudio", ""},
        {"FailMessage", "You are not entitled to enter!"},
        {"FailEmail", ""},
        {"FailUrl", ""},
        {"ignoreCase", "1"},
        {"InitialMessage", "Enter your user ID and\\npassword, then click login."},
        {"UserLabel", "User:"},
        {"PasswordLabel", "Password:"},
        {"LoginLabel", "Login"},
        {"MailHost", ""},
        {"Retries", "3"},
        {"FontFamily", "Arial"},
        {"FontSize", "11"},
        {"FontStyle", "1"},
        {"Spacing", "5"},
        {"Margin", "5"},
        {"BorderThickness", "5"},
        {"BorderStyle", "4"},
        {"BorderColor", "C0DCC0"},
        {"BackgroundColor", "C0DCC0"},
        {"LoadingMessage", "Please wait while locks load..."},
        {"File", ""},
        {"ReloadInterval", "300"},
    };

    /** The parameters that the page scrambles when Encrypt is on (besides the lock records). */
    static final String[] SCRAMBLED = {
        "CorrectEmail", "CorrectAudio", "IncorrectAudio", "FailEmail", "FailUrl", "MailHost", "File"};

    static final int BORDER_NONE = 0;
    static final int BORDER_UP = 1;
    static final int BORDER_DOWN = 2;
    static final int BORDER_BUMP = 3;
    static final int BORDER_DIP = 4;

    /** Outcomes of a login other than the index of the matching lock. */
    static final int OUTCOME_INCORRECT = -1;
    static final int OUTCOME_FAIL = -2;

    static final int MAIL_PORT = 25;
    static final int MAIL_TIMEOUT_MILLIS = 20000;
    static final int LOAD_TIMEOUT_MILLIS = 20000;
    /** How soon a lock file that has not come yet is asked for again. */
    static final int FIRST_LOAD_RETRY_MILLIS = 2000;

    /** The key text shared with the generator. */
    static final String KEY_TEXT = "pQuvaTeLm";
    static final int ALPHABET_SIZE = 94;

    // Every scrambled value starts from the same derived key and position, so derive them once.
    private static final String CIPHER_KEY;
    private static final int CIPHER_START;

    static {
        StringBuilder filtered = new StringBuilder();
        for (char c : KEY_TEXT.toUpperCase(Locale.ROOT).toCharArray()) {
            if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
                filtered.append(c);
            }
        }
        StringBuilder alphabet = new StringBuilder(ALPHABET_SIZE);
        for (int i = 0; i < ALPHABET_SIZE; i++) {
            alphabet.append(alphabetChar(i));
        }
        String key = filtered.toString();
        CIPHER_KEY = transform(key + alphabet, key, 0, false);
        int sum = 0;
        for (int i = 0; i < CIPHER_KEY.length(); i++) {
            sum += CIPHER_KEY.charAt(i);
        }
        CIPHER_START = sum % (ALPHABET_SIZE - 1);
    }

    // Settings, read from the page in init().
    private boolean encrypt;
    private boolean ignoreCase;
    private int retries;
    private int spacing;
    private int margin;
    private int borderThickness;
    private int borderStyle;
    private int reloadInterval;
    private Color borderColor;
    private Color backgroundColor;
    private Color textColor;
    private Font font;
    private String userLabel;
    private String passwordLabel;
    private String initialMessage;
    private String incorrectMessage;
    private String failMessage;
    private String loadingMessage;
    private String correctEmail;
    private String correctAudio;
    private String incorrectAudio;
    private String failEmail;
    private String failUrl;
    private String mailHost;
    private String lockFile;

    // The visitor's side of the box.
    TextField userField;
    TextField passwordField;
    Button loginButton;

    // State shared with the loader thread.
    volatile String[][] locks = new String[0][];
    volatile String message = "";
    volatile boolean locksReady;
    private transient volatile Thread loader;

    // State of the visitor's tries, touched on the event thread only.
    int failedTries;
    boolean finished;
    private final ArrayList<String> triedUserIds = new ArrayList<String>();

    // Where doLayout() put the painted parts.
    private int border;
    private final Rectangle content = new Rectangle();
    private int messageTop;
    private int messageHeight;
    private int labelRight;
    private int fieldHeight;

    // ---------------------------------------------------------------------------------------
    // Parameters

    /** The value a parameter takes when the page leaves it out, or null for an unknown name. */
    static String defaultValue(String name) {
        for (String[] entry : DEFAULTS) {
            if (entry[0].equals(name)) {
                return entry[1];
            }
        }
        return null;
    }

    /** A text parameter: the page's value, or the default when the page has none. */
    static String text(String name, String value) {
        return value != null ? value : defaultValue(name);
    }

    /** A number parameter within min..max; anything else (absent, not a number, out of range)
     *  takes the default, so a damaged page still shows a working box. */
    static int number(String name, String value, int min, int max) {
        int fallback = Integer.parseInt(defaultValue(name));
        if (value == null) {
            return fallback;
        }
        try {
            int parsed = Integer.parseInt(value.trim());
            return parsed < min || parsed > max ? fallback : parsed;
        } catch (NumberFormatException e) {
            return fallback;
        }
    }

    /** A colour parameter written as six hexadecimal digits RRGGBB (a leading "#" is forgiven). */
    static Color colour(String name, String value) {
        Color parsed = parseColour(value);
        return parsed != null ? parsed : parseColour(defaultValue(name));
    }

    private static Color parseColour(String value) {
        if (value == null) {
            return null;
        }
        String digits = value.trim();
        if (digits.startsWith("#")) {
            digits = digits.substring(1);
        }
        if (digits.length() != 6) {
            return null;
        }
        try {
            return new Color(Integer.parseInt(digits, 16));
        } catch (NumberFormatException e) {
            return null;
        }
    }

    /** A scrambled parameter in plain text (the default when absent). */
    static String secret(String name, String value, boolean encrypt) {
        return value != null && encrypt ? unscramble(value) : text(name, value);
    }

    /** A message or label as the visitor reads it: the two characters backslash and "n" break
     *  the line, and numeric character references that the page protected from the browser
     *  ("&#169;") become their characters. */
    static String displayText(String value) {
        if (value == null) {
            return "";
        }
        StringBuilder out = new StringBuilder(value.length());
        int i = 0;
        while (i < value.length()) {
            char c = value.charAt(i);
            if (c == '\\' && i + 1 < value.length() && value.charAt(i + 1) == 'n') {
                out.append('\n');
                i += 2;
            } else if (c == '\r') {
                out.append('\n');
                i += i + 1 < value.length() && value.charAt(i + 1) == '\n' ? 2 : 1;
            } else if (c == '&' && i + 1 < value.length() && value.charAt(i + 1) == '#') {
                int end = i + 2;
                while (end < value.length() && end - i < 10 && Character.isDigit(value.charAt(end))) {
                    end++;
                }
                int codePoint = end > i + 2 && end < value.length() && value.charAt(end) == ';'
                    ? parseCodePoint(value.substring(i + 2, end)) : -1;
                if (codePoint >= 0) {
                    out.appendCodePoint(codePoint);
                    i = end + 1;
                } else {
                    out.append(c);
                    i++;
                }
            } else {
                out.append(c);
                i++;
            }
        }
        return out.toString();
    }

    private static int parseCodePoint(String digits) {
        try {
            int codePoint = Integer.parseInt(digits);
            boolean usable = codePoint > 0 && Character.isValidCodePoint(codePoint)
                && !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
            return usable ? codePoint : -1;
        } catch (NumberFormatException e) {
            return -1;
        }
    }

    /** Windows font names that pages ask for, with the metric-compatible families that other
     *  systems ship instead, so the box keeps the size its author saw. */
    static final String[][] FONT_SUBSTITUTES = {
        {"Arial", "Liberation Sans"}, {"Helvetica", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"}, {"Verdana", "DejaVu Sans"},
        {"Tahoma", "DejaVu Sans"}, {"Times New Roman", "Liberation Serif"},
        {"Times", "Liberation Serif"}, {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
    };

    /** The family to draw with: the requested one when installed, else its usual substitute,
     *  else the Java logical family closest in kind. */
    static String fontFamily(String requested, String[] installed) {
        String found = findIgnoringCase(requested, installed);
        if (found != null) {
            return found;
        }
        for (String[] substitute : FONT_SUBSTITUTES) {
            if (substitute[0].equalsIgnoreCase(requested)) {
                found = findIgnoringCase(substitute[1], installed);
                if (found != null) {
                    return found;
                }
            }
        }
        String lower = requested.toLowerCase(Locale.ROOT);
        for (String logical : new String[] {"Serif", "SansSerif", "Monospaced", "Dialog", "DialogInput"}) {
            if (logical.equalsIgnoreCase(requested)) {
                return logical;
            }
        }
        if (lower.contains("courier") || lower.contains("mono") || lower.contains("console")) {
            return "Monospaced";
        }
        if (lower.contains("sans")) {
            return "SansSerif";
        }
        if (lower.contains("times") || lower.contains("serif") || lower.contains("roman")
            || lower.contains("georgia") || lower.contains("garamond")) {
            return "Serif";
        }
        return "SansSerif";
    }

    private static String findIgnoringCase(String name, String[] names) {
        for (String candidate : names) {
            if (candidate.equalsIgnoreCase(name)) {
                return candidate;
            }
        }
        return null;
    }

    // ---------------------------------------------------------------------------------------
    // Unscrambling

    /** Index of c in the 94-character alphabet (printable ASCII without the double quote),
     *  or -1 when the scrambler leaves c alone. */
    static int alphabetIndex(char c) {
        if (c < 32 || c > 126 || c == '"') {
            return -1;
        }
        return c < 34 ? c - 32 : c - 33;
    }

    static char alphabetChar(int index) {
        return (char) (index < 2 ? index + 32 : index + 33);
    }

    /** The keyed table substitution in either direction. The carry depends on the reduced plain
     *  index, so deciphering recovers that index first and then steps exactly as enciphering. */
    private static String transform(String text, String key, int position, boolean decipher) {
        StringBuilder out = new StringBuilder(text.length());
        int carry = 0;
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            int index = alphabetIndex(c);
            if (index < 0) {
                out.append(c);
                continue;
            }
            if (position >= key.length()) {
                position %= key.length();
            }
            int y = alphabetIndex(key.charAt(position));
            int x;
            if (decipher) {
                x = Math.floorMod(index - y, ALPHABET_SIZE);
                out.append(alphabetChar(Math.floorMod(x - carry, ALPHABET_SIZE)));
            } else {
                x = (index + carry) % ALPHABET_SIZE;
                out.append(alphabetChar((x + y) % ALPHABET_SIZE));
            }
            position += 1 + carry;
            carry = Math.abs(carry - x);
        }
        return out.toString();
    }

    /** The plain text of a value that the generator scrambled. */
    static String unscramble(String scrambled) {
        return transform(scrambled, CIPHER_KEY, CIPHER_START, true);
    }

    // ---------------------------------------------------------------------------------------
    // Locks

    /**
     * One lock record "user|password|url|target" as {user, password, url, target}; a field
     * holding a single blank is empty. Fields are not escaped, so the user ID and password are
     * taken from the left and the target from the right, and any "|" left over stays in the URL.
     * Null for a record that cannot log anyone in (too few fields, no user ID or no URL).
     */
    static String[] parseLockRecord(String record) {
        if (record == null) {
            return null;
        }
        int first = record.indexOf('|');
        int second = first < 0 ? -1 : record.indexOf('|', first + 1);
        int last = record.lastIndexOf('|');
        if (second < 0 || last <= second) {
            return null;
        }
        String[] lock = {record.substring(0, first), record.substring(first + 1, second),
            record.substring(second + 1, last), record.substring(last + 1)};
        for (int i = 0; i < lock.length; i++) {
            if (lock[i].equals(" ")) {
                lock[i] = "";
            }
        }
        return lock[0].isEmpty() || lock[2].isEmpty() ? null : lock;
    }

    /** The locks of the page's parameters Lock0, Lock1, ... up to the first number missing;
     *  records that cannot be read are skipped. */
    static String[][] locksFromParameters(Function<String, String> parameter, boolean encrypt) {
        List<String[]> found = new ArrayList<String[]>();
        for (int i = 0;; i++) {
            String value = parameter.apply("Lock" + i);
            if (value == null) {
                break;
            }
            String[] lock = parseLockRecord(encrypt ? unscramble(value) : value);
            if (lock != null) {
                found.add(lock);
            }
        }
        return found.toArray(new String[0][]);
    }

    /** The locks of a lock input file: every line "Lock<number>=<record>", in file order, with
     *  the backslashes that the file doubles made single again before unscrambling. Other
     *  lines and unreadable records are skipped. */
    static String[][] locksFromFile(String content, boolean encrypt) {
        List<String[]> found = new ArrayList<String[]>();
        if (content.startsWith("\uFEFF")) {
            content = content.substring(1);
        }
        for (String line : content.split("\r\n|\r|\n")) {
            int equals = line.indexOf('=');
            if (!line.startsWith("Lock") || equals <= 4) {
                continue;
            }
            boolean numbered = true;
            for (int i = 4; i < equals; i++) {
                numbered &= line.charAt(i) >= '0' && line.charAt(i) <= '9';
            }
            if (!numbered) {
                continue;
            }
            String record = undoubleBackslashes(line.substring(equals + 1));
            String[] lock = parseLockRecord(encrypt ? unscramble(record) : record);
            if (lock != null) {
                found.add(lock);
            }
        }
        return found.toArray(new String[0][]);
    }

    /** Undoes the file's doubling of every backslash; a lone backslash is kept as it is. */
    static String undoubleBackslashes(String text) {
        StringBuilder out = new StringBuilder(text.length());
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            out.append(c);
            if (c == '\\' && i + 1 < text.length() && text.charAt(i + 1) == '\\') {
                i++;
            }
        }
        return out.toString();
    }

    /** The text of a lock input file: UTF-8 when it is valid UTF-8, else the Windows code page
     *  that files written on Windows use. */
    static String decodeFileText(byte[] bytes) {
        try {
            return StandardCharsets.UTF_8.newDecoder()
                .onMalformedInput(CodingErrorAction.REPORT)
                .onUnmappableCharacter(CodingErrorAction.REPORT)
                .decode(ByteBuffer.wrap(bytes)).toString();
        } catch (CharacterCodingException e) {
            Charset windows = Charset.isSupported("windows-1252")
                ? Charset.forName("windows-1252") : StandardCharsets.ISO_8859_1;
            return new String(bytes, windows);
        }
    }

    // ---------------------------------------------------------------------------------------
    // Login decisions

    /** The index of the first lock that the user ID and password open, or -1. */
    static int findLock(String[][] locks, String userId, String password, boolean ignoreCase) {
        for (int i = 0; i < locks.length; i++) {
            if (same(locks[i][0], userId, ignoreCase) && same(locks[i][1], password, ignoreCase)) {
                return i;
            }
        }
        return -1;
    }

    private static boolean same(String a, String b, boolean ignoreCase) {
        return ignoreCase ? a.equalsIgnoreCase(b) : a.equals(b);
    }

    /** What one press of the login button leads to: the index of the matching lock, or
     *  OUTCOME_INCORRECT while tries are left, or OUTCOME_FAIL when this was the last one. */
    static int loginOutcome(String[][] locks, String userId, String password, boolean ignoreCase,
                            int failedTries, int retries) {
        int lock = findLock(locks, userId, password, ignoreCase);
        if (lock >= 0) {
            return lock;
        }
        return failedTries + 1 >= retries ? OUTCOME_FAIL : OUTCOME_INCORRECT;
    }

    // ---------------------------------------------------------------------------------------
    // Mail

    /** The host of a mail server written "host" or "host:port". */
    static String mailServerHost(String server) {
        String host = server.trim();
        int colon = portColon(host);
        if (colon >= 0) {
            host = host.substring(0, colon).trim();
        }
        return host.startsWith("[") && host.endsWith("]") ? host.substring(1, host.length() - 1) : host;
    }

    /** The port of a mail server written "host" or "host:port"; 25 when none is given. */
    static int mailServerPort(String server) {
        String host = server.trim();
        int colon = portColon(host);
        return colon < 0 ? MAIL_PORT : Integer.parseInt(host.substring(colon + 1).trim());
    }

    /** Where the port follows the host, or -1. A bare IPv6 address has several colons and no
     *  port; a port that is not a number counts as none. */
    private static int portColon(String server) {
        int colon = server.lastIndexOf(':');
        boolean bracketed = server.startsWith("[") && colon > 0 && server.charAt(colon - 1) == ']';
        if (colon <= 0 || (server.indexOf(':') != colon && !bracketed)) {
            return -1;
        }
        try {
            int port = Integer.parseInt(server.substring(colon + 1).trim());
            return port > 0 && port < 65536 ? colon : -1;
        } catch (NumberFormatException e) {
            return -1;
        }
    }

    /** The whole message text: headers, an empty line and the body, lines ending in CR LF. */
    static String mailMessage(String sender, String recipient, String subject, String body, Date date) {
        SimpleDateFormat rfc822 = new SimpleDateFormat("EEE, dd MMM yyyy HH:mm:ss Z", Locale.US);
        StringBuilder out = new StringBuilder();
        out.append("From: <").append(oneLine(sender)).append(">\r\n");
        out.append("To: <").append(oneLine(recipient)).append(">\r\n");
        out.append("Subject: ").append(oneLine(subject)).append("\r\n");
        out.append("Date: ").append(rfc822.format(date)).append("\r\n");
        out.append("MIME-Version: 1.0\r\n");
        out.append("Content-Type: text/plain; charset=UTF-8\r\n");
        out.append("Content-Transfer-Encoding: 8bit\r\n");
        out.append("X-Mailer: Zarnith\r\n");
        out.append("\r\n");
        for (String line : body.split("\r\n|\r|\n", -1)) {
            out.append(line).append("\r\n");
        }
        return out.toString();
    }

    private static String oneLine(String text) {
        return text.replace('\r', ' ').replace('\n', ' ');
    }

    /**
     * The SMTP dialogue for one message: greeting, HELO, MAIL FROM, RCPT TO, DATA with the
     * message (lines starting with a dot get another), and QUIT. True when the server accepted
     * the message; a refusal at any step ends the dialogue politely with QUIT.
     */
    static boolean smtpDialogue(BufferedReader in, Writer out, String helo, String sender,
                                String recipient, String message) throws IOException {
        boolean accepted = reply(in) == 220
            && command(in, out, "HELO " + helo) / 100 == 2
            && command(in, out, "MAIL FROM:<" + oneLine(sender) + ">") / 100 == 2
            && command(in, out, "RCPT TO:<" + oneLine(recipient) + ">") / 100 == 2
            && command(in, out, "DATA") == 354
            && command(in, out, dotStuffed(message) + ".") / 100 == 2;
        command(in, out, "QUIT");
        return accepted;
    }

    private static String dotStuffed(String message) {
        StringBuilder out = new StringBuilder(message.length() + 16);
        String[] lines = message.split("\r\n", -1);
        // The message ends in CR LF, which leaves one empty piece after the last line.
        int count = lines.length > 0 && lines[lines.length - 1].isEmpty() ? lines.length - 1 : lines.length;
        for (int i = 0; i < count; i++) {
            out.append(lines[i].startsWith(".") ? "." : "").append(lines[i]).append("\r\n");
        }
        return out.toString();
    }

    private static int command(BufferedReader in, Writer out, String line) throws IOException {
        out.write(line + "\r\n");
        out.flush();
        return reply(in);
    }

    /** The code of the server's next reply, reading past continuation lines ("250-..."). */
    private static int reply(BufferedReader in) throws IOException {
        String line;
        do {
            line = in.readLine();
            if (line == null) {
                return -1;
            }
        } while (line.length() > 3 && line.charAt(3) == '-');
        try {
            return Integer.parseInt(line.substring(0, 3));
        } catch (RuntimeException e) {
            return -1;
        }
    }

    /**
     * Mails one message through the server ("host" or "host:port"). The recipient also stands as
     * the sender: the page names no other address, and a server relays most readily for its own
     * domain. False when the server cannot be reached or refuses the message.
     */
    static boolean sendMail(String server, String recipient, String subject, String body, int timeoutMillis) {
        try (Socket socket = new Socket()) {
            socket.connect(new InetSocketAddress(mailServerHost(server), mailServerPort(server)), timeoutMillis);
            socket.setSoTimeout(timeoutMillis);
            BufferedReader in = new BufferedReader(new InputStreamReader(socket.getInputStream(), StandardCharsets.UTF_8));
            Writer out = new BufferedWriter(new OutputStreamWriter(socket.getOutputStream(), StandardCharsets.UTF_8));
            InetAddress local = socket.getLocalAddress();
            String helo = local instanceof Inet6Address ? "[IPv6:" + local.getHostAddress() + "]"
                                                        : "[" + local.getHostAddress() + "]";
            return smtpDialogue(in, out, helo, recipient, recipient,
                                mailMessage(recipient, recipient, subject, body, new Date()));
        } catch (IOException | RuntimeException e) {
            return false;
        }
    }

    // ---------------------------------------------------------------------------------------
    // The applet

    @Override
    public void init() {
        encrypt = number("Encrypt", getParameter("Encrypt"), Integer.MIN_VALUE, Integer.MAX_VALUE) != 0;
        ignoreCase = number("ignoreCase", getParameter("ignoreCase"), Integer.MIN_VALUE, Integer.MAX_VALUE) != 0;
        retries = number("Retries", getParameter("Retries"), 1, 1000);
        spacing = number("Spacing", getParameter("Spacing"), 0, 1000);
        margin = number("Margin", getParameter("Margin"), 0, 1000);
        borderThickness = number("BorderThickness", getParameter("BorderThickness"), 0, 1000);
        borderStyle = number("BorderStyle", getParameter("BorderStyle"), BORDER_NONE, BORDER_DIP);
        reloadInterval = number("ReloadInterval", getParameter("ReloadInterval"), 0, Integer.MAX_VALUE / 1000);
        borderColor = colour("BorderColor", getParameter("BorderColor"));
        backgroundColor = colour("BackgroundColor", getParameter("BackgroundColor"));
        userLabel = displayText(text("UserLabel", getParameter("UserLabel")));
        passwordLabel = displayText(text("PasswordLabel", getParameter("PasswordLabel")));
        initialMessage = displayText(text("InitialMessage", getParameter("InitialMessage")));
        incorrectMessage = displayText(text("IncorrectMessage", getParameter("IncorrectMessage")));
        failMessage = displayText(text("FailMessage", getParameter("FailMessage")));
        loadingMessage = displayText(text("LoadingMessage", getParameter("LoadingMessage")));
        correctEmail = secret("CorrectEmail", getParameter("CorrectEmail"), encrypt).trim();
        correctAudio = secret("CorrectAudio", getParameter("CorrectAudio"), encrypt).trim();
        incorrectAudio = secret("IncorrectAudio", getParameter("IncorrectAudio"), encrypt).trim();
        failEmail = secret("FailEmail", getParameter("FailEmail"), encrypt).trim();
        failUrl = secret("FailUrl", getParameter("FailUrl"), encrypt).trim();
        mailHost = secret("MailHost", getParameter("MailHost"), encrypt).trim();
        lockFile = secret("File", getParameter("File"), encrypt).trim();

        int style = number("FontStyle", getParameter("FontStyle"), 0, 3);
        int size = number("FontSize", getParameter("FontSize"), 1, 500);
        String family = text("FontFamily", getParameter("FontFamily")).trim();
        String[] installed = GraphicsEnvironment.getLocalGraphicsEnvironment().getAvailableFontFamilyNames();
        font = new Font(fontFamily(family, installed),
                        ((style & 1) != 0 ? Font.BOLD : 0) | ((style & 2) != 0 ? Font.ITALIC : 0), size);
        // Dark backgrounds get light text, so that any colour the author picks stays readable.
        int luminance = (backgroundColor.getRed() * 299 + backgroundColor.getGreen() * 587
                         + backgroundColor.getBlue() * 114) / 1000;
        textColor = luminance < 128 ? Color.white : Color.black;

        setLayout(null);
        setBackground(backgroundColor);
        setForeground(textColor);
        setFont(font);
        userField = new TextField();
        passwordField = new TextField();
        passwordField.setEchoChar('*');
        for (TextField field : new TextField[] {userField, passwordField}) {
            field.setBackground(Color.white);
            field.setForeground(Color.black);
            field.addActionListener(this);
            add(field);
        }
        loginButton = new Button(displayText(text("LoginLabel", getParameter("LoginLabel"))));
        loginButton.addActionListener(this);
        add(loginButton);

        if (lockFile.isEmpty()) {
            locks = locksFromParameters(this::getParameter, encrypt);
            locksReady = true;
        } else {
            loginButton.setEnabled(false);
        }
        message = initialMessage;
    }

    @Override
    public void start() {
        if (!lockFile.isEmpty() && loader == null) {
            Thread thread = new Thread(this::loadLocksRepeatedly, "Zarnith lock loader");
            thread.setDaemon(true);
            loader = thread;
            thread.start();
        }
        userField.requestFocus();
    }

    @Override
    public void stop() {
        Thread thread = loader;
        loader = null;
        if (thread != null) {
            thread.interrupt();
        }
    }

    @Override
    public String getAppletInfo() {
        return "Zarnith login box: checks a user ID and password and opens the matching page.";
    }

    @Override
    public String[][] getParameterInfo() {
        String[][] info = new String[DEFAULTS.length + 1][];
        for (int i = 0; i < DEFAULTS.length; i++) {
            info[i] = new String[] {DEFAULTS[i][0], "text", "default \"" + DEFAULTS[i][1] + "\""};
        }
        info[DEFAULTS.length] = new String[] {"Lock0, Lock1, ...", "text", "user|password|url|target"};
        return info;
    }

    /** The loader thread: reads the lock input file until it has come once, a few seconds apart,
     *  then again every ReloadInterval seconds. A file that cannot be read keeps the locks held. */
    private void loadLocksRepeatedly() {
        Thread self = Thread.currentThread();
        while (loader == self) {
            String[][] loaded = readLockFile();
            if (loaded != null) {
                locks = loaded;
                if (!locksReady) {
                    locksReady = true;
                    EventQueue.invokeLater(() -> loginButton.setEnabled(!finished));
                    repaint();
                }
            }
            // Zero is a choice the author can make: load once and never again.
            long pause = locksReady ? reloadInterval * 1000L : FIRST_LOAD_RETRY_MILLIS;
            if (pause <= 0) {
                return;
            }
            try {
                Thread.sleep(pause);
            } catch (InterruptedException e) {
                return;
            }
        }
    }

    private String[][] readLockFile() {
        try {
            URLConnection connection = fileBesidePage(getDocumentBase(), lockFile).openConnection();
            // A reload must see the file as it is now, not a copy cached on the way.
            connection.setUseCaches(false);
            connection.setConnectTimeout(LOAD_TIMEOUT_MILLIS);
            connection.setReadTimeout(LOAD_TIMEOUT_MILLIS);
            try (InputStream in = connection.getInputStream()) {
                ByteArrayOutputStream bytes = new ByteArrayOutputStream();
                byte[] buffer = new byte[8192];
                for (int n; (n = in.read(buffer)) > 0;) {
                    bytes.write(buffer, 0, n);
                }
                return locksFromFile(decodeFileText(bytes.toByteArray()), encrypt);
            }
        } catch (IOException | RuntimeException e) {
            return null;
        }
    }

    @Override
    public void actionPerformed(ActionEvent event) {
        if (event.getSource() == userField) {
            passwordField.requestFocus();
        } else {
            attemptLogin();
        }
    }

    private void attemptLogin() {
        if (finished || !locksReady) {
            return;
        }
        String userId = userField.getText();
        String password = passwordField.getText();
        // An accidental Enter in empty boxes should not cost the visitor a try.
        if (userId.isEmpty()) {
            userField.requestFocus();
            return;
        }
        triedUserIds.add(userId);
        passwordField.setText("");
        String[][] current = locks;
        int outcome = loginOutcome(current, userId, password, ignoreCase, failedTries, retries);
        if (outcome >= 0) {
            String[] lock = current[outcome];
            play(correctAudio);
            mail(correctEmail, "Zarnith: correct login",
                 "A visitor logged in.\n\nUser ID: " + userId + "\nPage: " + getDocumentBase()
                     + "\nSent to: " + lock[2] + (lock[3].isEmpty() ? "" : " (" + lock[3] + ")") + "\n");
            failedTries = 0;
            triedUserIds.clear();
            setMessage(initialMessage);
            showPage(lock[2], lock[3]);
            return;
        }
        failedTries++;
        play(incorrectAudio);
        if (outcome == OUTCOME_INCORRECT) {
            setMessage(incorrectMessage);
            userField.requestFocus();
            userField.selectAll();
            return;
        }
        finished = true;
        userField.setEnabled(false);
        passwordField.setEnabled(false);
        loginButton.setEnabled(false);
        setMessage(failMessage);
        mail(failEmail, "Zarnith: failed login",
             "A visitor used up all " + retries + " tries without logging in.\n\nUser IDs tried: "
                 + String.join(", ", triedUserIds) + "\nPage: " + getDocumentBase() + "\n");
        if (!failUrl.isEmpty()) {
            showPage(failUrl, "");
        }
    }

    private void setMessage(String text) {
        message = text;
        repaint();
    }

    /** Opens an address relative to the page, in the named frame or, with none, where the
     *  browser opens pages by default. */
    private void showPage(String address, String target) {
        try {
            URL url = new URL(getDocumentBase(), address);
            AppletContext context = getAppletContext();
            if (target.isEmpty()) {
                context.showDocument(url);
            } else {
                context.showDocument(url, target);
            }
        } catch (MalformedURLException | RuntimeException e) {
            // An address that no URL can be made of leaves the visitor on the page.
        }
    }

    /** The address of a file that the page names by its file name: beside the page, with every
     *  character that would change an address's meaning ("#", "?", "%", blanks, letters beyond
     *  ASCII) percent-encoded, so that the server is asked for exactly that name. */
    static URL fileBesidePage(URL page, String name) throws MalformedURLException {
        StringBuilder path = new StringBuilder();
        for (byte b : name.getBytes(StandardCharsets.UTF_8)) {
            int c = b & 0xFF;
            boolean plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || "-._~/".indexOf(c) >= 0;
            path.append(plain ? String.valueOf((char) c) : String.format("%%%02X", c));
        }
        return new URL(page, path.toString());
    }

    private void play(String name) {
        if (name.isEmpty()) {
            return;
        }
        try {
            AudioClip clip = getAudioClip(fileBesidePage(getDocumentBase(), name));
            if (clip != null) {
                clip.play();
            }
        } catch (MalformedURLException | RuntimeException e) {
            // No sound is no reason to stop the login.
        }
    }

    /** Sends a notice in the background: a slow or absent mail server must never hold up the
     *  visitor. Without a mail host the server that served the page is asked. */
    private void mail(String recipient, String subject, String body) {
        if (recipient.isEmpty()) {
            return;
        }
        String server = mailHost;
        if (server.isEmpty()) {
            server = hostOf(getCodeBase());
        }
        if (server.isEmpty()) {
            server = hostOf(getDocumentBase());
        }
        if (server.isEmpty()) {
            return;
        }
        String host = server;
        Thread thread = new Thread(() -> sendMail(host, recipient, subject, body, MAIL_TIMEOUT_MILLIS), "Zarnith mail");
        thread.setDaemon(true);
        thread.start();
    }

    private static String hostOf(URL url) {
        return url == null || url.getHost() == null ? "" : url.getHost();
    }

    // ---------------------------------------------------------------------------------------
    // Drawing

    /** Splits a message into the lines drawn: at its line breaks, and between words where a
     *  line would be wider than the box. */
    private static List<String> wrap(String text, FontMetrics metrics, int width) {
        List<String> lines = new ArrayList<String>();
        for (String paragraph : text.split("\n", -1)) {
            StringBuilder line = new StringBuilder();
            for (String word : paragraph.split(" ", -1)) {
                String candidate = line.length() == 0 ? word : line + " " + word;
                if (line.length() > 0 && metrics.stringWidth(candidate) > width) {
                    lines.add(line.toString());
                    line.setLength(0);
                    line.append(word);
                } else {
                    line.setLength(0);
                    line.append(candidate);
                }
            }
            lines.add(line.toString());
        }
        return lines;
    }

    /**
     * Shrinks the parts of a length, in the order given, until the length fits in room. Each part
     * is {size, count}: its size occurs count times in the length. Sizes change in place.
     */
    static void squeeze(int room, int[]... parts) {
        int total = 0;
        for (int[] part : parts) {
            total += part[0] * part[1];
        }
        for (int[] part : parts) {
            int excess = total - room;
            if (excess <= 0) {
                return;
            }
            int cut = Math.min(part[0], (excess + part[1] - 1) / part[1]);
            part[0] -= cut;
            total -= cut * part[1];
        }
    }

    /** Where the texts and controls go: inside the border and the margin. */
    Rectangle contentArea() {
        return new Rectangle(content);
    }

    /** The message the box shows: the loading message until the locks have come once. Reloads
     *  happen unseen, so that they never hide what the last try said. */
    String shownMessage() {
        return locksReady ? message : loadingMessage;
    }

    @Override
    public void doLayout() {
        if (loginButton == null) {
            return;
        }
        Dimension size = getSize();
        FontMetrics metrics = getFontMetrics(font);
        Dimension buttonSize = loginButton.getPreferredSize();
        int buttonWidth = Math.max(buttonSize.width, metrics.stringWidth(loginButton.getLabel()) + 4 * metrics.charWidth('n'));
        int labelWidth = Math.max(metrics.stringWidth(userLabel), metrics.stringWidth(passwordLabel));

        // A box too small for what it holds gives up the spaces first, then the border, then
        // room for the texts and controls, so that nothing reaches past its edge or the border.
        int[] gap = {spacing, 1};
        int[] sideMargin = {margin, 2};
        int[] sideBorder = {borderStyle == BORDER_NONE ? 0 : borderThickness, 2};
        int[] label = {labelWidth, 1};
        int[] minimumField = {buttonWidth, 1};
        squeeze(size.width, gap, sideMargin, sideBorder, label, minimumField);
        int wrapWidth = size.width - 2 * (sideBorder[0] + sideMargin[0]);

        // Room for the tallest message, so that the boxes stay put when the message changes.
        int lines = 1;
        List<String> messages = new ArrayList<String>();
        messages.add(initialMessage);
        messages.add(incorrectMessage);
        messages.add(failMessage);
        if (!lockFile.isEmpty()) {
            messages.add(loadingMessage);
        }
        for (String text : messages) {
            lines = Math.max(lines, wrap(text, metrics, wrapWidth).size());
        }
        int preferredFieldHeight = Math.max(userField.getPreferredSize().height, metrics.getHeight() + 6);
        int[] rowGap = {spacing, 3};
        int[] topMargin = {margin, 2};
        int[] topBorder = {sideBorder[0], 2};
        int[] text = {lines * metrics.getHeight(), 1};
        int[] button = {Math.max(buttonSize.height, preferredFieldHeight), 1};
        int[] field = {preferredFieldHeight, 2};
        squeeze(size.height, rowGap, topMargin, topBorder, text, button, field);

        border = topBorder[0];
        content.setBounds(border + sideMargin[0], border + topMargin[0], 0, 0);
        content.setSize(size.width - 2 * content.x, size.height - 2 * content.y);
        int fieldWidth = Math.max(minimumField[0], Math.min(content.width - label[0] - gap[0], 22 * metrics.charWidth('n')));
        int rowWidth = label[0] + gap[0] + fieldWidth;
        int left = content.x + Math.max(0, (content.width - rowWidth) / 2);
        int total = text[0] + 3 * rowGap[0] + 2 * field[0] + button[0];
        int top = content.y + Math.max(0, (content.height - total) / 2);

        messageTop = top;
        messageHeight = text[0];
        fieldHeight = field[0];
        labelRight = left + label[0];
        int fieldLeft = labelRight + gap[0];
        int userTop = top + messageHeight + rowGap[0];
        int buttonWidthShown = Math.min(buttonWidth, fieldWidth);
        place(userField, fieldLeft, userTop, fieldWidth, fieldHeight);
        place(passwordField, fieldLeft, userTop + fieldHeight + rowGap[0], fieldWidth, fieldHeight);
        place(loginButton, fieldLeft + fieldWidth - buttonWidthShown, userTop + 2 * (fieldHeight + rowGap[0]),
              buttonWidthShown, button[0]);
    }

    /** A control with no room left is hidden: a native window cannot be empty. */
    private static void place(Component control, int x, int y, int width, int height) {
        control.setBounds(x, y, width, height);
        control.setVisible(width > 0 && height > 0);
    }

    @Override
    public void update(Graphics g) {
        // Painting covers the whole box; clearing first would only flicker.
        paint(g);
    }

    @Override
    public void paint(Graphics g) {
        if (loginButton == null) {
            // Some browsers show the box before init() has read the page.
            return;
        }
        Dimension size = getSize();
        g.setColor(backgroundColor);
        g.fillRect(0, 0, size.width, size.height);
        drawBorder(g, size.width, size.height);
        Graphics text = g.create();
        try {
            if (text instanceof Graphics2D) {
                ((Graphics2D) text).setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING,
                                                     RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
            }
            text.setFont(font);
            text.setColor(textColor);
            FontMetrics metrics = text.getFontMetrics();
            text.clipRect(content.x, content.y, content.width, content.height);
            int baseline = (fieldHeight - metrics.getHeight()) / 2 + metrics.getAscent();
            text.drawString(userLabel, labelRight - metrics.stringWidth(userLabel), userField.getY() + baseline);
            text.drawString(passwordLabel, labelRight - metrics.stringWidth(passwordLabel),
                            passwordField.getY() + baseline);
            // A message longer than its room is cut rather than drawn over the fields.
            text.clipRect(content.x, messageTop, content.width, messageHeight);
            List<String> lines = wrap(shownMessage(), metrics, content.width);
            // Centre the message in its room, whatever its number of lines.
            int y = messageTop + Math.max(0, (messageHeight - lines.size() * metrics.getHeight()) / 2)
                + metrics.getAscent();
            for (String line : lines) {
                text.drawString(line, content.x + (content.width - metrics.stringWidth(line)) / 2, y);
                y += metrics.getHeight();
            }
        } finally {
            text.dispose();
        }
    }

    /** The border in the border colour's light and dark shades: Up raised, Down sunken, Bump a
     *  raised ridge (raised outer half, sunken inner half) and Dip a groove (the reverse). */
    private void drawBorder(Graphics g, int width, int height) {
        if (border <= 0) {
            return;
        }
        Color light = mix(borderColor, Color.white, 0.6);
        Color dark = mix(borderColor, Color.black, 0.45);
        int outer = borderStyle == BORDER_BUMP || borderStyle == BORDER_DIP ? (border + 1) / 2 : border;
        boolean outerRaised = borderStyle == BORDER_UP || borderStyle == BORDER_BUMP;
        for (int i = 0; i < border; i++) {
            boolean raised = i < outer ? outerRaised : !outerRaised;
            int right = width - 1 - i;
            int bottom = height - 1 - i;
            g.setColor(raised ? light : dark);
            g.drawLine(i, i, right, i);
            g.drawLine(i, i, i, bottom);
            g.setColor(raised ? dark : light);
            g.drawLine(i + 1, bottom, right, bottom);
            g.drawLine(right, i + 1, right, bottom);
        }
    }

    private static Color mix(Color from, Color to, double amount) {
        return new Color((int) Math.round(from.getRed() + (to.getRed() - from.getRed()) * amount),
                         (int) Math.round(from.getGreen() + (to.getGreen() - from.getGreen()) * amount),
                         (int) Math.round(from.getBlue() + (to.getBlue() - from.getBlue()) * amount));
    }
}
