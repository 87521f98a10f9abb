from tortoise import BaseDBAsyncClient


async def upgrade(db: BaseDBAsyncClient) -> str:
    return """
        CREATE TABLE IF NOT EXISTS "aerich" (
    "id" SERIAL NOT NULL PRIMARY KEY,
    "version" VARCHAR(255) NOT NULL,
    "app" VARCHAR(100) NOT NULL,
    "content" JSONB NOT NULL
);
CREATE TABLE IF NOT EXISTS "user" (
    "id" SERIAL NOT NULL PRIMARY KEY,
    "email" VARCHAR(255) NOT NULL UNIQUE
);
CREATE UNIQUE INDEX IF NOT EXISTS "uid_user_email_1b4f0e" ON "user" ("email");
COMMENT ON TABLE "user" IS 'Accounts';
COMMENT ON COLUMN "user"."email" IS 'Login';"""


async def downgrade(db: BaseDBAsyncClient) -> str:
    return """
        """
